// The network admin command as users run it: the demo network and its dump,
// and two processes writing into one store at once.

#include "platform/store/admin.h"
#include "platform/store/item_data.h"
#include "platform/store/item_files.h"
#include "support/store_fixture.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <set>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::StoreNetwork;
using testing_support::TempFolder;
using testing_support::WriteFile;

fs::path tool()
{
    const char* bin = std::getenv("TARVEX_BUILD_BIN");
    return fs::path(bin ? bin : ".") / "tarvex-net";
}

// Starts tarvex-net with arguments, its output going to a file.
pid_t start(const std::vector<std::string>& arguments, const fs::path& output)
{
    std::vector<std::string> words{tool().string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t child = 0;
    const int failed = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : child;
}

int finish(pid_t child)
{
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

const nlohmann::json* childNamed(const nlohmann::json& node, const std::string& name)
{
    for (const nlohmann::json& child : node["children"])
        if (child["name"] == name) return &child;
    return nullptr;
}

TEST(TarvexNetTest, TheDemoNetworkDumpsAsJson)
{
    TempFolder folder;
    testing_support::ScopedEnv root("TARVEX_NETWORK", (folder.path() / "net").string());
    testing_support::ScopedEnv domain("USERDOMAIN", std::string("TARVEXNET"));
    testing_support::ScopedEnv user("USERNAME", std::string("demo"));
    const fs::path output = folder.path() / "out.txt";

    ASSERT_EQ(finish(start({"demo"}, output)), 0) << ReadFile(output);
    EXPECT_NE(finish(start({"demo"}, output)), 0) << "a second demo leaves the network alone";
    EXPECT_EQ(finish(start({"demo", "--if-missing"}, output)), 0);
    ASSERT_EQ(finish(start({"dump", "http://SPSSOURCE/Marketing"}, output)), 0);
    const nlohmann::json tree = nlohmann::json::parse(ReadFile(output));

    EXPECT_EQ(tree["kind"], "workspace");
    EXPECT_EQ(tree["roles"]["coordinators"], nlohmann::json::array({"TARVEXNET\\demo"}));
    const nlohmann::json* documents = childNamed(tree, "Documents");
    ASSERT_TRUE(documents);
    const nlohmann::json* slides = childNamed(*documents, "Präsentationen");
    ASSERT_TRUE(slides);
    EXPECT_EQ((*slides)["roles"]["inherited"], false);
    const nlohmann::json* overview = childNamed(*slides, "Übersicht 2026.txt");
    ASSERT_TRUE(overview);
    EXPECT_EQ((*overview)["kind"], "document");
    EXPECT_EQ((*overview)["size"], 1024);
    EXPECT_EQ((*overview)["sha256"].get<std::string>().size(), 64u);
    const nlohmann::json* categories = childNamed(tree, "Categories");
    ASSERT_TRUE(categories && childNamed(*categories, "Products"));
    EXPECT_EQ((*childNamed(*categories, "Products"))["kind"], "categoryfolder");

    ASSERT_EQ(finish(start({"dump", "http://SPSSOURCE"}, output)), 0);
    const nlohmann::json server = nlohmann::json::parse(ReadFile(output));
    EXPECT_EQ(server["children"].size(), 4u) << "four workspaces on the source, one of them hidden";
    ASSERT_EQ(finish(start({"dump", "http://SPSBERLIN"}, output)), 0);
    EXPECT_EQ(nlohmann::json::parse(ReadFile(output))["language"], "de");
    EXPECT_EQ(store::TemplateFolderUnc("SPSTARGET"), "\\\\SPSTARGET\\C$\\Program Files\\SharePoint Portal Server\\bin\\");
}

TEST(TarvexNetTest, TwoProcessesWritingIntoOneFolderLeaveEveryItemWholeAndEachNameOnce)
{
    StoreNetwork network;
    network.addServer("SRV");
    const std::string documents = store::AddWorkspace("SRV", "Team") + "/Documents";
    TempFolder sources;
    // Both trees hold names of their own, imported first, and then the same
    // names in another letter case.
    for (int i = 0; i < 60; ++i) {
        const std::string number = std::to_string(i);
        WriteFile(sources.path() / "a" / ("Shared " + number + ".txt"), std::string(1000 + i, 'a'));
        WriteFile(sources.path() / "b" / ("SHARED " + number + ".TXT"), std::string(2000 + i, 'b'));
        WriteFile(sources.path() / "a" / ("A own " + number), std::string(i, 'x'));
        WriteFile(sources.path() / "b" / ("B own " + number), std::string(i, 'y'));
    }
    const pid_t first = start({"import", (sources.path() / "a").string(), documents}, sources.path() / "a.out");
    const pid_t second = start({"import", (sources.path() / "b").string(), documents}, sources.path() / "b.out");
    const int firstStatus = finish(first);
    const int secondStatus = finish(second);
    EXPECT_TRUE(firstStatus == 0 || firstStatus == 1);
    EXPECT_TRUE(secondStatus == 0 || secondStatus == 1);

    std::set<std::string> folded;
    for (const fs::directory_entry& entry : fs::directory_iterator(network.storeFolder("SRV") / "Team" / "Documents")) {
        const std::string name = entry.path().filename().string();
        if (name == ".tvx.folder.json") continue;
        EXPECT_FALSE(store::IsReservedName(name)) << "a temporary entry was left: " << name;
        std::string lower = name;
        for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(folded.insert(lower).second) << "two items named " << name;

        std::string bytes = ReadFile(entry.path());
        std::string content;
        store::DecodeItemFile(bytes, content); // throws for a damaged item
        EXPECT_TRUE(content.find_first_not_of(content.empty() ? 'x' : content[0]) == std::string::npos);
    }
    for (int i = 0; i < 60; ++i) {
        EXPECT_TRUE(folded.count("a own " + std::to_string(i)));
        EXPECT_TRUE(folded.count("b own " + std::to_string(i)));
        EXPECT_TRUE(folded.count("shared " + std::to_string(i) + ".txt") || firstStatus != 0 || secondStatus != 0);
    }
    EXPECT_FALSE(firstStatus == 0 && secondStatus == 0) << "both imported every shared name";
}

} // namespace
