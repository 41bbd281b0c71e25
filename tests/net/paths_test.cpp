// Folders of the network root and UNC paths: names found in any case, one
// folder at a time, never through a link.

#include "platform/net/network.h"
#include "support/network_root.h"
#include "support/store_fixture.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using namespace net;
using testing_support::DescriptionOf;
using testing_support::ErrorOf;
using testing_support::ReadFile;
using testing_support::TemporaryNetworkRoot;
using testing_support::TempFolder;
using testing_support::WriteFile;

namespace {

namespace fs = std::filesystem;

constexpr com::HRESULT kInvalidName = com::HResultFromWin32(ERROR_INVALID_NAME);

Folder opened(const fs::path& path)
{
    std::optional<Folder> folder = Folder::OpenPath(path);
    EXPECT_TRUE(folder) << path;
    return std::move(*folder);
}

} // namespace

TEST(SafeNames, RefuseWhatCouldLeaveAFolder)
{
    const std::vector<std::pair<std::string, bool>> cases = {
        {"file.txt", true}, {"with blank", true}, {"Ärger", true}, {"...", true}, {".hidden", true},
        {"", false}, {".", false}, {"..", false}, {"a/b", false}, {"a\\b", false}, {std::string("a\0b", 3), false},
    };
    for (const auto& [name, safe] : cases) EXPECT_EQ(IsSafeName(name), safe) << name;
}

TEST(Folder, FindsNamesWithoutRegardToCasePreferringTheExactOne)
{
    TempFolder temp;
    WriteFile(temp.path() / "Report.TXT", "1");
    WriteFile(temp.path() / "Notes", "a");
    WriteFile(temp.path() / "NOTES", "b");
    fs::create_directories(temp.path() / "Program Files" / "Über");
    const Folder folder = opened(temp.path());

    EXPECT_EQ(folder.find("report.txt"), "Report.TXT");
    EXPECT_EQ(folder.find("NOTES"), "NOTES");
    EXPECT_EQ(folder.find("Notes"), "Notes");
    EXPECT_EQ(folder.find("missing"), std::nullopt);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(folder.find("REPORT.txt"), "Report.TXT") << "the folder is read afresh each time";

    const std::optional<Folder> nested = folder.openFolder({"program files", "ÜBER"});
    ASSERT_TRUE(nested);
    EXPECT_EQ(nested->path(), temp.path() / "Program Files" / "Über");
    EXPECT_FALSE(folder.openFolder({"program files", "missing"}));
    EXPECT_FALSE(folder.openFolder({"Report.TXT"})) << "a file is no folder";
    EXPECT_EQ(folder.readFile("notes"), "b") << "of several matches, the first in byte order";

    EXPECT_EQ(folder.createFolders({"PROGRAM FILES", "New"}).path(), temp.path() / "Program Files" / "New");
    EXPECT_TRUE(fs::is_directory(temp.path() / "Program Files" / "New"));
}

TEST(Folder, RefusesUnsafeNamesNamingThem)
{
    TempFolder temp;
    fs::create_directories(temp.path() / "a");
    const Folder folder = opened(temp.path());
    const std::vector<std::vector<std::string>> unsafe = {
        {"a", ".."}, {"..", "x"}, {"."}, {"a", std::string("b\0c", 3)}, {"a/b"}, {"a\\..\\..\\b"}, {""}};
    for (const auto& names : unsafe) {
        EXPECT_EQ(ErrorOf([&] { folder.openFolder(names); }), kInvalidName) << names.back();
        EXPECT_EQ(ErrorOf([&] { folder.createFolders(names); }), kInvalidName) << names.back();
    }
    EXPECT_NE(DescriptionOf([&] { folder.openFolder({"a", ".."}); }).find("\"..\""), std::string::npos);
    EXPECT_NE(DescriptionOf([&] { folder.find(std::string("b\0c", 3)); }).find("b\\x00c"), std::string::npos);
}

// Links planted below the root lead nowhere: not outside, not even inside.
TEST(Folder, NeverFollowsALinkAndNamesIt)
{
    TempFolder outside;
    WriteFile(outside.path() / "secret", "outside");
    TempFolder temp;
    fs::create_directories(temp.path() / "real");
    fs::create_directory_symlink(temp.path() / "real", temp.path() / "alias");
    fs::create_directory_symlink(outside.path(), temp.path() / "escape");
    fs::create_symlink(outside.path() / "secret", temp.path() / "file-link");
    fs::create_symlink(outside.path() / "not yet", temp.path() / "dangling");
    const Folder folder = opened(temp.path());

    const std::vector<std::pair<std::string, std::function<void()>>> attempts = {
        {"alias", [&] { folder.openFolder({"ALIAS"}); }},
        {"escape", [&] { folder.openFolder({"escape"}); }},
        {"escape", [&] { folder.createFolders({"escape", "new"}); }},
        {"file-link", [&] { folder.readFile("file-link"); }},
        {"file-link", [&] { folder.openFile("FILE-LINK", O_RDONLY); }},
        {"dangling", [&] { folder.openOrCreateFile("dangling"); }},
        {"dangling", [&] { folder.readFile("dangling"); }},
    };
    for (const auto& [link, attempt] : attempts) {
        const std::string description = DescriptionOf(attempt);
        EXPECT_EQ(ErrorOf(attempt), kInvalidName) << link;
        EXPECT_NE(description.find((temp.path() / link).string()), std::string::npos) << description;
    }
    EXPECT_FALSE(fs::exists(outside.path() / "not yet"));
    EXPECT_FALSE(fs::exists(outside.path() / "new"));
    EXPECT_EQ(ReadFile(outside.path() / "secret"), "outside");
}

TEST(Folder, WritesFilesWholeAndLeavesNoTemporaryFile)
{
    TempFolder temp;
    const Folder folder = opened(temp.path());
    folder.writeFile("settings.ini", "first");
    folder.writeFile("SETTINGS.INI", "second");
    EXPECT_EQ(ReadFile(temp.path() / "settings.ini"), "second");
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), {}), 1);

    fs::create_directories(temp.path() / "sub");
    ::chmod((temp.path() / "sub").c_str(), 0500);
    if (::geteuid() != 0) {
        EXPECT_EQ(ErrorOf([&] { folder.openFolder({"sub"})->writeFile("file", "x"); }), com::E_ACCESSDENIED);
        EXPECT_EQ(std::distance(fs::directory_iterator(temp.path() / "sub"), {}), 0);
    }
    ::chmod((temp.path() / "sub").c_str(), 0700);
}

TEST(SplitPath, SplitsAtEitherSeparatorAndDropsEmptySegments)
{
    EXPECT_EQ(SplitPath("\\\\HOST\\C$/dir//file"), (std::vector<std::string>{"HOST", "C$", "dir", "file"}));
    EXPECT_EQ(SplitPath(""), std::vector<std::string>{});
}

class UncPaths : public ::testing::Test {
protected:
    void SetUp() override
    {
        HostInfo server;
        server.name = "SpsTarget";
        SaveHost(server);
        drive = root.path() / "hosts" / "SpsTarget" / "drives" / "C";
        fs::create_directories(drive / "Program Files" / "bin");
        WriteFile(drive / "Program Files" / "bin" / "localschema.xml", "<schema/>");
        HostInfo down;
        down.name = "DOWN";
        down.reachable = false;
        SaveHost(down);
    }

    TemporaryNetworkRoot root;
    fs::path drive;
};

TEST_F(UncPaths, ResolveToTheSharesFolderAndTheNamesBelowIt)
{
    const UncLocation location = ResolveUnc("//spstarget/c$/Program Files/bin/");
    EXPECT_EQ(location.share.path(), drive);
    EXPECT_EQ(location.names, (std::vector<std::string>{"Program Files", "bin"}));
    EXPECT_TRUE(ResolveUnc("\\\\spstarget\\C$").names.empty());

    const FileHandle file = OpenUncFile("\\\\SPSTARGET\\C$\\program files\\BIN\\LocalSchema.xml");
    EXPECT_EQ(ReadToEnd(file.get(), "schema"), "<schema/>");
}

TEST_F(UncPaths, ReportTheNetworksErrors)
{
    fs::create_directory_symlink(drive / "Program Files", drive / "linked");
    const std::vector<std::pair<std::string, long>> cases = {
        {"\\\\NOHOST\\C$\\x", ERROR_BAD_NETPATH},
        {"\\\\DOWN\\C$\\x", ERROR_BAD_NETPATH},
        {"\\\\", ERROR_BAD_NETPATH},
        {"\\\\SPSTARGET\\data\\x", ERROR_BAD_NET_NAME},
        {"\\\\SPSTARGET\\1$\\x", ERROR_BAD_NET_NAME},
        {"\\\\SPSTARGET\\D$\\x", ERROR_BAD_NET_NAME},
        {"\\\\SPSTARGET", ERROR_BAD_NET_NAME},
        {"\\\\SPSTARGET\\C$\\..\\..\\store", ERROR_INVALID_NAME},
        {"\\\\..\\C$\\x", ERROR_INVALID_NAME},
        {"C:\\Program Files", ERROR_INVALID_NAME},
        {"\\single", ERROR_INVALID_NAME},
        {"\\\\SPSTARGET\\C$\\linked\\bin\\localschema.xml", ERROR_INVALID_NAME},
        {"\\\\SPSTARGET\\C$\\Program Files\\bin\\missing.xml", ERROR_FILE_NOT_FOUND},
        {"\\\\SPSTARGET\\C$\\Program Files\\nothing\\localschema.xml", ERROR_PATH_NOT_FOUND},
    };
    for (const auto& [unc, code] : cases) {
        EXPECT_EQ(ErrorOf([&] { OpenUncFile(unc); }), com::HResultFromWin32(code)) << unc;
    }
}
