// The files and folders of a share, called by member name.

#include "netperm_fixture.h"

#include "platform/net/shares.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace netperm_testing;

namespace {

namespace fs = std::filesystem;

class FilesTest : public NetpermTest {
protected:
    void SetUp() override
    {
        NetpermTest::SetUp();
        net::SaveShare(*net::FindHost("SPS2K"), {"Docs", net::STYPE_DISKTREE, "", "C:\\Data\\Docs"});
        docs = net::FindHost("SPS2K")->folder / "drives" / "C" / "Data" / "Docs";
    }

    // A file or folder below the share, last written at the local time given.
    void Make(const std::string& name, bool folder, int hour, int minute, off_t size = 0)
    {
        const fs::path path = docs / name;
        if (folder) {
            fs::create_directories(path);
        } else {
            const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ASSERT_GE(file, 0);
            ASSERT_EQ(::ftruncate(file, size), 0);
            ::close(file);
        }
        std::tm local{};
        local.tm_year = 2026 - 1900;
        local.tm_mon = 2;
        local.tm_mday = 4;
        local.tm_hour = hour;
        local.tm_min = minute;
        local.tm_isdst = -1;
        const timespec times[2] = {{std::mktime(&local), 0}, {std::mktime(&local), 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
    }

    fs::path docs;
};

TEST_F(FilesTest, TheThreeListingsOfAShare)
{
    Make("a.txt", false, 12, 30, 5);
    Make("b.txt", false, 0, 5, 17);
    Make("c.txt", false, 13, 7);
    Make("big.iso", false, 23, 59, (off_t(5) << 30) + 1);
    Make("Backup.2024", true, 9, 0);
    Make("Sub", true, 18, 45);
    fs::create_symlink("/etc", docs / "link");

    const struct {
        const char* member;
        std::vector<std::string> elements;
    } cases[] = {
        {"GetFilesInShare", {"a.txt", "b.txt", "Backup.2024", "big.iso", "c.txt", "Sub"}},
        {"GetAllFilesInShare",
         {"a.txt|5|04/03/2026 |12:30 AM", "b.txt|17|04/03/2026 |0:05 AM", "big.iso|5368709121|04/03/2026 |11:59 PM",
          "c.txt|0|04/03/2026 |1:07 PM"}},
        {"GetAllFoldersInShare", {"Backup.2024|0|04/03/2026 |9:00 AM", "Sub|0|04/03/2026 |6:45 PM"}},
    };
    for (const auto& c : cases) {
        for (const char* path : {"\\\\SPS2K\\Docs", "\\\\sps2k\\C$\\data\\docs"}) {
            com::Variant elements, count;
            const com::Object permissions = shares.call(c.member, path, Out(elements), Out(count));
            EXPECT_EQ(Strings(elements), c.elements) << c.member << " " << path;
            EXPECT_EQ(count.type(), com::VT_I4);
            EXPECT_EQ(count.toInt32(), int(c.elements.size()));
            com::Variant permissionCount;
            EXPECT_EQ(Strings(permissions.call("GetFilePermissions", path, "a.txt", Out(permissionCount))),
                      std::vector<std::string>{"Everyone @\\@ FullControl"});
        }
    }
}

TEST_F(FilesTest, APathThatCannotBeListedFailsAndLeavesTheOutputs)
{
    Make("file.txt", false, 8, 0);
    const struct {
        std::string path;
        std::pair<com::HRESULT, std::string> error;
    } cases[] = {
        {"\\\\SPS2K\\NoShare", NetError(67, "The network name cannot be found.")},
        {"\\\\SPS2K\\Docs\\missing", NetError(3, "The system cannot find the path specified.")},
        {"\\\\SPS2K\\Docs\\file.txt", NetError(3, "The system cannot find the path specified.")},
        {"\\\\SPSDOWN\\C$", NetError(53, "The network path was not found.")},
        {"\\\\SPS2K\\Docs\\..\\..", NetError(123, "The filename, directory name, or volume label syntax is incorrect.")},
    };
    for (const auto& c : cases) {
        com::Variant elements("before"), count("before");
        EXPECT_EQ(Failure([&] { shares.call("GetAllFilesInShare", c.path, Out(elements), Out(count)); }), c.error)
            << c.path;
        EXPECT_EQ(elements.toString() + count.toString(), "beforebefore");
    }
}

} // namespace
