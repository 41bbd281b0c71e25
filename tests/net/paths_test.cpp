#include "platform/net/network.h"
#include "support/network_root.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace net;
using testing_support::TemporaryNetworkRoot;
using testing_support::TempFolder;
using testing_support::WriteFile;

namespace {

constexpr com::HRESULT kInvalidName = com::HResultFromWin32(ERROR_INVALID_NAME);

com::HRESULT errorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const com::ComError& error) {
        return error.number();
    }
    return com::S_OK;
}

std::string descriptionOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const com::ComError& error) {
        return error.description();
    }
    return {};
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

TEST(FindEntry, MatchesWithoutRegardToCaseAndPrefersTheExactName)
{
    TempFolder folder;
    WriteFile(folder.path() / "Report.TXT", "1");
    WriteFile(folder.path() / "Notes", "a");
    WriteFile(folder.path() / "NOTES", "b");

    EXPECT_EQ(FindEntry(folder.path(), "report.txt"), folder.path() / "Report.TXT");
    EXPECT_EQ(FindEntry(folder.path(), "NOTES"), folder.path() / "NOTES");
    EXPECT_EQ(FindEntry(folder.path(), "Notes"), folder.path() / "Notes");
    EXPECT_EQ(FindEntry(folder.path(), "missing"), std::nullopt);
    EXPECT_EQ(FindEntry(folder.path() / "no folder", "x"), std::nullopt);
    EXPECT_EQ(errorOf([&] { FindEntry(folder.path(), ".."); }), kInvalidName);
}

TEST(ResolveInside, FindsExistingSegmentsInAnyCaseAndKeepsNewOnes)
{
    TempFolder folder;
    std::filesystem::create_directories(folder.path() / "Program Files" / "Über");
    EXPECT_EQ(ResolveInside(folder.path(), {"program files", "ÜBER", "New File"}),
              folder.path() / "Program Files" / "Über" / "New File");
    EXPECT_EQ(ResolveInside(folder.path(), {}), folder.path());
}

TEST(ResolveInside, RefusesUnsafeSegmentsNamingThem)
{
    TempFolder folder;
    std::filesystem::create_directories(folder.path() / "a");
    const std::vector<std::vector<std::string>> unsafe = {
        {"a", ".."}, {"..", "x"}, {"."}, {"a", std::string("b\0c", 3)}, {"a/b"}, {"a\\..\\..\\b"}, {""}};
    for (const auto& segments : unsafe) {
        EXPECT_EQ(errorOf([&] { ResolveInside(folder.path(), segments); }), kInvalidName) << segments.back();
    }
    EXPECT_NE(descriptionOf([&] { ResolveInside(folder.path(), {"a", ".."}); }).find("\"..\""), std::string::npos);
    EXPECT_NE(descriptionOf([&] { ResolveInside(folder.path(), {std::string("b\0c", 3)}); }).find("b\\x00c"),
              std::string::npos);
}

TEST(ResolveInside, FollowsLinksOnlyWhileTheyStayInside)
{
    TempFolder outside;
    TempFolder folder;
    std::filesystem::create_directories(folder.path() / "real");
    std::filesystem::create_directory_symlink(folder.path() / "real", folder.path() / "alias");
    std::filesystem::create_directory_symlink(outside.path(), folder.path() / "escape");
    std::filesystem::create_directory_symlink("../..", folder.path() / "real" / "up");
    std::filesystem::create_symlink(outside.path() / "not yet", folder.path() / "dangling");

    EXPECT_EQ(ResolveInside(folder.path(), {"ALIAS", "file"}), folder.path() / "alias" / "file");
    EXPECT_EQ(errorOf([&] { ResolveInside(folder.path(), {"escape", "file"}); }), kInvalidName);
    EXPECT_EQ(errorOf([&] { ResolveInside(folder.path(), {"real", "up", "x"}); }), kInvalidName);
    EXPECT_EQ(errorOf([&] { ResolveInside(folder.path(), {"dangling"}); }), kInvalidName);
    EXPECT_FALSE(std::filesystem::exists(outside.path() / "not yet"));
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
        std::filesystem::create_directories(root.path() / "hosts" / "SpsTarget" / "drives" / "C" / "Program Files");
        HostInfo down;
        down.name = "DOWN";
        down.reachable = false;
        SaveHost(down);
    }

    TemporaryNetworkRoot root;
};

TEST_F(UncPaths, ResolveToTheHostsDriveFolder)
{
    const auto drive = root.path() / "hosts" / "SpsTarget" / "drives" / "C";
    EXPECT_EQ(ResolveUnc("\\\\SPSTARGET\\C$\\program files\\SharePoint Portal Server\\bin\\localschema.xml"),
              drive / "Program Files" / "SharePoint Portal Server" / "bin" / "localschema.xml");
    EXPECT_EQ(ResolveUnc("//spstarget/c$/Program Files/bin/"), drive / "Program Files" / "bin");
    EXPECT_EQ(ResolveUnc("\\\\spstarget\\C$"), drive);
    EXPECT_EQ(ResolveUnc("\\\\spstarget\\D$\\x"), root.path() / "hosts" / "SpsTarget" / "drives" / "D" / "x");
}

TEST_F(UncPaths, ReportTheNetworksErrors)
{
    const std::vector<std::pair<std::string, long>> cases = {
        {"\\\\NOHOST\\C$\\x", ERROR_BAD_NETPATH},
        {"\\\\DOWN\\C$\\x", ERROR_BAD_NETPATH},
        {"\\\\", ERROR_BAD_NETPATH},
        {"\\\\SPSTARGET\\data\\x", ERROR_BAD_NET_NAME},
        {"\\\\SPSTARGET\\1$\\x", ERROR_BAD_NET_NAME},
        {"\\\\SPSTARGET", ERROR_BAD_NET_NAME},
        {"\\\\SPSTARGET\\C$\\..\\..\\store", ERROR_INVALID_NAME},
        {"\\\\..\\C$\\x", ERROR_INVALID_NAME},
        {"C:\\Program Files", ERROR_INVALID_NAME},
        {"\\single", ERROR_INVALID_NAME},
    };
    for (const auto& [unc, code] : cases) {
        EXPECT_EQ(errorOf([&] { ResolveUnc(unc); }), com::HResultFromWin32(code)) << unc;
    }
}
