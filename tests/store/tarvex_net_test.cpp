// The network admin command as users run it: the demo network and its dump,
// and two processes writing into one store at once.

#include "platform/ado/stream.h"
#include "platform/store/admin.h"
#include "platform/store/item_data.h"
#include "platform/store/item_files.h"
#include "platform/store/sps.h"
#include "support/store_fixture.h"
#include "support/tool_process.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <set>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::StoreNetwork;
using testing_support::TempFolder;
using testing_support::WriteFile;

pid_t start(const std::vector<std::string>& arguments, const fs::path& output)
{
    return testing_support::StartTool("tarvex-net", arguments, output);
}

int finish(pid_t child)
{
    return testing_support::FinishTool(child);
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

namespace {

std::vector<std::string> childNames(const nlohmann::json& node)
{
    std::vector<std::string> names;
    for (const nlohmann::json& child : node["children"]) names.push_back(child["name"]);
    return names;
}

} // namespace

TEST(TarvexNetTest, ADumpShowsADamagedItemAsSuchAndTheOthersInFull)
{
    StoreNetwork network;
    network.addServer("SRV");
    const std::string documents = store::AddWorkspace("SRV", "Team") + "/Documents";
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) store::AddDocument(documents, name, store::DocumentSpec(name));
    store::AddDocument(store::AddFolder(documents, "Sub"), "d.txt", store::DocumentSpec("d"));
    const fs::path damaged = network.storeFolder("SRV") / "Team" / "Documents" / "b.txt";
    std::string bytes = ReadFile(damaged);
    bytes.back() ^= 0x01;
    WriteFile(damaged, bytes);

    TempFolder folder;
    EXPECT_EQ(testing_support::RunTool("tarvex-net", {"dump", documents}, folder.path() / "out", folder.path() / "err"), 1);
    const nlohmann::json tree = nlohmann::json::parse(ReadFile(folder.path() / "out"));
    EXPECT_EQ(childNames(tree), (std::vector<std::string>{"Sub", "a.txt", "b.txt", "c.txt"}));
    EXPECT_EQ(childNames(*childNamed(tree, "Sub")), std::vector<std::string>{"d.txt"});
    EXPECT_EQ((*childNamed(tree, "c.txt"))["size"], 5);
    const nlohmann::json& broken = *childNamed(tree, "b.txt");
    EXPECT_FALSE(broken.contains("sha256"));
    EXPECT_NE(broken["error"].get<std::string>().find(documents + "/b.txt"), std::string::npos) << broken;
    EXPECT_NE(ReadFile(folder.path() / "err").find("b.txt\" is damaged"), std::string::npos) << ReadFile(folder.path() / "err");
}

TEST(TarvexNetTest, ImportRefusesALocalTreeItCannotReadAndWritesNothing)
{
    StoreNetwork network;
    network.addServer("SRV");
    const std::string documents = store::AddWorkspace("SRV", "Team") + "/Documents";
    TempFolder local;
    WriteFile(local.path() / "loop" / "a" / "file.txt", "x");
    fs::create_directory_symlink(local.path() / "loop", local.path() / "loop" / "a" / "back");
    WriteFile(local.path() / "reserved" / "file.txt", "x");
    WriteFile(local.path() / "reserved" / ".TVX.notes", "x");
    const std::pair<std::string, std::string> cases[] = {
        {"missing", "Cannot read the local folder"},
        {"loop", "leads back into a folder above it"},
        {"reserved", "The name is not allowed in the document store: \".TVX.notes\""},
    };
    for (const auto& [tree, message] : cases) {
        const fs::path errors = local.path().parent_path() / (local.path().filename().string() + ".err");
        EXPECT_EQ(testing_support::RunTool("tarvex-net", {"import", (local.path() / tree).string(), documents},
                                           "/dev/null", errors),
                  1)
            << tree;
        EXPECT_NE(ReadFile(errors).find(message), std::string::npos) << tree << ": " << ReadFile(errors);
        fs::remove(errors);
        store::SpsFolder folder;
        folder.DataSource().Open(documents);
        EXPECT_EQ(folder.Items().recordCount() + folder.Subfolders().recordCount(), 0) << tree;
    }
}

// An import killed midway leaves whole items; importing again with --skip
// or --replace finishes it, where a plain import stops at the first item
// that exists.
TEST(TarvexNetTest, AnImportCutShortIsFinishedByImportingAgain)
{
    StoreNetwork network;
    network.addServer("SRV");
    const std::string documents = store::AddWorkspace("SRV", "Team") + "/Documents";
    TempFolder local;
    for (int i = 0; i < 40; ++i)
        WriteFile(local.path() / "tree" / ("folder " + std::to_string(i % 4)) / ("file " + std::to_string(i)),
                  std::string(20000 + i, char('a' + i % 26)));
    const fs::path output = local.path() / "out";
    const std::vector<std::string> import{"import", (local.path() / "tree").string(), documents};

    const pid_t first = testing_support::StartTool("tarvex-net", import, output);
    ::usleep(40000);
    ::kill(first, SIGKILL);
    testing_support::FinishTool(first);
    testing_support::ErrorOf([&] { store::AddFolder(documents, "folder 0"); }); // one item exists at the least
    const fs::path errors = local.path() / "err";
    EXPECT_EQ(testing_support::RunTool("tarvex-net", import, output, errors), 1);
    const std::string refusal = ReadFile(errors);
    EXPECT_EQ(refusal.rfind("tarvex-net: An item named \"", 0), 0u) << refusal;
    EXPECT_NE(refusal.find("\" exists already in \""), std::string::npos) << refusal;
    EXPECT_NE(refusal.find("; importing again with --skip or --replace finishes the import (error 0x80040E98)\n"),
              std::string::npos)
        << refusal;

    std::vector<std::string> withSkip = import;
    withSkip.push_back("--skip");
    ASSERT_EQ(testing_support::RunTool("tarvex-net", withSkip, output), 0) << ReadFile(output);
    std::vector<std::string> withReplace = import;
    withReplace.push_back("--replace");
    ASSERT_EQ(testing_support::RunTool("tarvex-net", withReplace, output), 0) << ReadFile(output);
    EXPECT_EQ(ReadFile(output), "40 items imported\n") << "every document made anew, the folders kept";

    ASSERT_EQ(testing_support::RunTool("tarvex-net", {"dump", documents}, output), 0);
    const nlohmann::json tree = nlohmann::json::parse(ReadFile(output));
    ASSERT_EQ(childNames(tree), (std::vector<std::string>{"folder 0", "folder 1", "folder 2", "folder 3"}));
    for (const nlohmann::json& folder : tree["children"]) {
        ASSERT_EQ(folder["children"].size(), 10u) << folder["name"];
        for (const nlohmann::json& file : folder["children"]) {
            const int number = std::stoi(file["name"].get<std::string>().substr(5));
            EXPECT_EQ(file["size"], 20000 + number) << file["name"];
        }
    }
}

// A replacing import killed at any moment leaves every document that was
// there before: its old content or its new one, whole.
TEST(TarvexNetTest, AReplacingImportKilledAnywhereLosesNoDocument)
{
    StoreNetwork network;
    network.addServer("SRV");
    const std::string documents = store::AddWorkspace("SRV", "Team") + "/Documents";
    TempFolder local;
    const auto contentOf = [](int file, int round) { return std::string(30000 + 97 * file + round, char('a' + round % 26)); };
    const auto writeTree = [&](int round) {
        for (int i = 0; i < 24; ++i) WriteFile(local.path() / "tree" / ("file " + std::to_string(i)), contentOf(i, round));
    };
    const fs::path output = local.path() / "out";
    const std::vector<std::string> import{"import", (local.path() / "tree").string(), documents, "--replace"};
    writeTree(0);
    ASSERT_EQ(testing_support::RunTool("tarvex-net", import, output), 0) << ReadFile(output);

    std::mt19937 random(std::random_device{}());
    for (int round = 1; round <= 10; ++round) {
        writeTree(round);
        const unsigned delay = std::uniform_int_distribution<unsigned>(0, 30000)(random);
        SCOPED_TRACE("killed after " + std::to_string(delay) + " us");
        const pid_t child = testing_support::StartTool("tarvex-net", import, output);
        ::usleep(delay);
        ::kill(child, SIGKILL);
        testing_support::FinishTool(child);

        for (int i = 0; i < 24; ++i) {
            store::SpsDocument document;
            const std::string url = documents + "/file " + std::to_string(i);
            ASSERT_EQ(testing_support::ErrorOf([&] { document.DataSource().Open(url); }), com::S_OK) << url;
            const std::string content = document.contentStream().Read();
            EXPECT_TRUE(content == contentOf(i, round) || content == contentOf(i, round - 1)) << url;
        }
        // What the killed run did not replace, the next run does.
        ASSERT_EQ(testing_support::RunTool("tarvex-net", import, output), 0) << ReadFile(output);
    }
}

TEST(TarvexNetTest, DocumentSkipsOrReplacesWhatExistsOnlyWhenAsked)
{
    StoreNetwork network;
    network.addServer("SRV");
    const std::string documents = store::AddWorkspace("SRV", "Team") + "/Documents";
    store::AddDocument(documents, "report.txt", store::DocumentSpec("first"));
    store::AddFolder(documents, "Folder.txt");
    TempFolder local;
    WriteFile(local.path() / "report.txt", "second!");
    const std::string file = (local.path() / "report.txt").string();
    const auto sizeOfReport = [&] {
        store::SpsDocument document;
        document.DataSource().Open(documents + "/report.txt");
        return document.property("DAV:getcontentlength").toInt32();
    };

    const fs::path output = local.path() / "out";
    EXPECT_EQ(testing_support::RunTool("tarvex-net", {"document", documents, file}, output), 1);
    EXPECT_EQ(testing_support::RunTool("tarvex-net", {"document", documents, file, "--skip"}, output), 0);
    EXPECT_EQ(sizeOfReport(), 5);
    EXPECT_EQ(testing_support::RunTool("tarvex-net", {"document", documents, file, "--replace"}, output), 0);
    EXPECT_EQ(sizeOfReport(), 7);
    EXPECT_EQ(testing_support::RunTool("tarvex-net", {"document", documents, file, "--skip", "--replace"}, output), 2);
    EXPECT_EQ(testing_support::RunTool("tarvex-net", {"document", documents, file, "--name", "folder.TXT", "--replace"},
                                       output),
              1)
        << "a folder is not replaced by a document";
}
