// Links planted where a store keeps its own files and folders, met by a fresh
// process as a user would run it: each is refused naming its path, and
// nothing outside the network root is read, created or changed.

#include "platform/store/admin.h"
#include "support/store_fixture.h"
#include "support/tool_process.h"

#include <gtest/gtest.h>

#include <map>

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::RunTool;
using testing_support::StoreNetwork;
using testing_support::TempFolder;
using testing_support::WriteFile;

// Everything below folder: each file's bytes, each link's target.
std::map<std::string, std::string> snapshot(const fs::path& folder)
{
    std::map<std::string, std::string> entries;
    for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it) {
        const std::string name = fs::relative(it->path(), folder).string();
        if (it->is_symlink()) entries[name] = "-> " + fs::read_symlink(it->path()).string();
        else if (it->is_regular_file()) entries[name] = ReadFile(it->path());
        else entries[name] = "(folder)";
    }
    return entries;
}

// Moves what is at path to outside and puts a link to it in its place.
void replaceWithLink(const fs::path& path, const fs::path& outside)
{
    fs::rename(path, outside);
    fs::create_symlink(outside, path);
}

TEST(StoreLinksTest, LinksInPlaceOfTheStoresFilesLeadNowhere)
{
    struct Case {
        const char* what;
        std::function<fs::path(const fs::path& host, const fs::path& outside)> plant; // returns the link
    };
    const Case cases[] = {
        {"the store's lock linked to a file",
         [](const fs::path& host, const fs::path& outside) {
             WriteFile(outside / "victim", "untouched");
             fs::remove(host / "store" / ".tvx.lock");
             fs::create_symlink(outside / "victim", host / "store" / ".tvx.lock");
             return host / "store" / ".tvx.lock";
         }},
        {"the store's lock dangling",
         [](const fs::path& host, const fs::path& outside) {
             fs::remove(host / "store" / ".tvx.lock");
             fs::create_symlink(outside / "created", host / "store" / ".tvx.lock");
             return host / "store" / ".tvx.lock";
         }},
        {"the host's folder",
         [](const fs::path& host, const fs::path& outside) {
             replaceWithLink(host, outside / "SRV");
             return host;
         }},
        {"the store's folder",
         [](const fs::path& host, const fs::path& outside) {
             replaceWithLink(host / "store", outside / "store");
             return host / "store";
         }},
        {"a folder's metadata",
         [](const fs::path& host, const fs::path& outside) {
             const fs::path metadata = host / "store" / "Team" / "Documents" / ".tvx.folder.json";
             WriteFile(outside / "folder.json",
                       R"({"kind": "folder", "lastModified": 0, "title": "STOLEN", "inheritsRoles": true})");
             fs::remove(metadata);
             fs::create_symlink(outside / "folder.json", metadata);
             return metadata;
         }},
    };
    for (const Case& c : cases) {
        StoreNetwork network;
        network.addServer("SRV");
        const std::string documents = store::AddWorkspace("SRV", "Team") + "/Documents";
        store::AddDocument(documents, "a.txt", store::DocumentSpec("hello"));
        TempFolder outside;
        const fs::path link = c.plant(network.root() / "hosts" / "SRV", outside.path());
        const auto before = snapshot(outside.path());

        const fs::path output = outside.path().parent_path() / (outside.path().filename().string() + ".out");
        const fs::path errors = outside.path().parent_path() / (outside.path().filename().string() + ".err");
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"folder", documents + "/New"}, std::vector<std::string>{"dump", documents}}) {
            EXPECT_EQ(RunTool("tarvex-net", command, output, errors), 1) << c.what << ": " << command[0];
            EXPECT_NE(ReadFile(errors).find(link.string()), std::string::npos) << c.what << ": " << ReadFile(errors);
            EXPECT_EQ(ReadFile(output).find("STOLEN"), std::string::npos) << c.what;
        }
        EXPECT_EQ(snapshot(outside.path()), before) << c.what;
        fs::remove(output);
        fs::remove(errors);
    }
}

} // namespace
