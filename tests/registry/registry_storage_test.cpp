#include "platform/registry/hive_json.h"
#include "registry_fixture.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace registry_testing;
using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

std::vector<std::string> filesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Writes count values named prefix-0 ... through its own handles.
void writeValues(const std::string& prefix, int count)
{
    HKEY key = 0;
    if (CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Shared", false, &key) != ERROR_SUCCESS) return;
    for (int i = 0; i < count; ++i) {
        const std::string name = prefix + "-" + std::to_string(i);
        const std::uint32_t number = static_cast<std::uint32_t>(i);
        SetValue(key, name, REG_DWORD, reinterpret_cast<const std::uint8_t*>(&number), sizeof number);
    }
    CloseKey(key);
}

} // namespace

TEST_F(RegistryTest, WritesLeaveOnlyTheHiveFilesAndTheLock)
{
    const HKEY key = create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarvex");
    for (int i = 0; i < 20; ++i) ASSERT_EQ(set(key, "v" + std::to_string(i), REG_BINARY, {std::uint8_t(i)}), ERROR_SUCCESS);
    CloseKey(create(HKEY_CURRENT_USER, "Software"));

    EXPECT_EQ(filesIn(hostFolder() / "registry"),
              (std::vector<std::string>{"HKEY_LOCAL_MACHINE.json", "HKEY_USERS.json", "registry.lock"}));
    EXPECT_NO_THROW(HiveFromJson(ReadFile(hiveFile("HKEY_LOCAL_MACHINE.json"))));
    EXPECT_NO_THROW(HiveFromJson(ReadFile(hiveFile("HKEY_USERS.json"))));
}

TEST_F(RegistryTest, AnUnchangingCallDoesNotRewriteTheHive)
{
    const HKEY key = create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarvex");
    ASSERT_EQ(set(key, "v", REG_DWORD, {1, 0, 0, 0}), ERROR_SUCCESS);
    struct stat before {}, after {};
    ::stat(hiveFile("HKEY_LOCAL_MACHINE.json").c_str(), &before);
    ASSERT_EQ(set(key, "v", REG_DWORD, {1, 0, 0, 0}), ERROR_SUCCESS);
    CloseKey(create(HKEY_LOCAL_MACHINE, "software\\tarvex"));
    EXPECT_EQ(DeleteValue(key, "missing"), ERROR_FILE_NOT_FOUND);
    ::stat(hiveFile("HKEY_LOCAL_MACHINE.json").c_str(), &after);
    EXPECT_EQ(before.st_ino, after.st_ino) << "an atomic rewrite would have made a new file";
}

TEST_F(RegistryTest, ACorruptHiveIsReportedAndNeverOverwritten)
{
    WriteFile(hiveFile("HKEY_LOCAL_MACHINE.json"), "{\"format\": 1, \"next_id\": ");
    HKEY key = 0;
    EXPECT_EQ(OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE", KEY_READ, &key), ERROR_BADDB);
    EXPECT_EQ(CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE", false, &key), ERROR_BADDB);
    EXPECT_EQ(ReadFile(hiveFile("HKEY_LOCAL_MACHINE.json")), "{\"format\": 1, \"next_id\": ");
    EXPECT_EQ(CreateKey(HKEY_USERS, "Other hive", false, &key), ERROR_SUCCESS);
}

TEST_F(RegistryTest, TwoProcessesWritingOneHiveLoseNothing)
{
    constexpr int kValuesEach = 150;
    CloseKey(create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Shared"));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        writeValues("child", kValuesEach);
        _exit(0);
    }
    writeValues("parent", kValuesEach);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    HKEY key = 0;
    ASSERT_EQ(OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Shared", KEY_READ, &key), ERROR_SUCCESS);
    std::uint32_t count = 0;
    while (EnumValue(key, count, nullptr, nullptr, nullptr) == ERROR_SUCCESS) ++count;
    EXPECT_EQ(count, 2u * kValuesEach) << "this process sees the other process's writes";
    for (const std::string prefix : {"child", "parent"}) {
        for (int i = 0; i < kValuesEach; i += 37) {
            const auto [type, bytes] = query(key, prefix + "-" + std::to_string(i));
            EXPECT_EQ(bytes, (std::vector<std::uint8_t>{std::uint8_t(i), 0, 0, 0}));
        }
    }
    const Hive stored = HiveFromJson(ReadFile(hiveFile("HKEY_LOCAL_MACHINE.json")));
    EXPECT_EQ(FindKey(stored, {"SOFTWARE", "Shared"}, 1)->values.size(), 2u * kValuesEach);
}

// The registry's own files and folders replaced by links to what lies outside
// the root: no key is read from there, and nothing there is created or
// changed.
TEST_F(RegistryTest, LinksInPlaceOfTheRegistrysFilesAreNeverFollowed)
{
    CloseKey(create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Ours"));
    net::HostInfo server;
    server.name = "SRV";
    net::SaveHost(server); // the current user is no administrator of SRV

    testing_support::TempFolder outside;
    const std::string stolenHive =
        R"({"format": 1, "next_id": 2, "root": {"id": 0, "name": "", "subkeys": [{"id": 1, "name": "Stolen"}]}})";
    WriteFile(outside.path() / "hive.json", stolenHive);
    WriteFile(outside.path() / "host.ini", "[host]\nremote_registry = everyone\n");
    std::filesystem::create_directories(outside.path() / "registry");
    WriteFile(outside.path() / "registry" / "HKEY_LOCAL_MACHINE.json", stolenHive);

    struct Case {
        const char* what;
        std::filesystem::path link;
        std::filesystem::path target;
    };
    const Case cases[] = {
        {"a dangling lock", hiveFile("registry.lock"), outside.path() / "lock"},
        {"a hive", hiveFile("HKEY_LOCAL_MACHINE.json"), outside.path() / "hive.json"},
        {"the registry folder", hostFolder() / "registry", outside.path() / "registry"},
    };
    for (const Case& c : cases) {
        const std::filesystem::path saved = root.path() / "saved";
        std::filesystem::rename(c.link, saved);
        std::filesystem::create_symlink(c.target, c.link);

        HKEY key = 0;
        EXPECT_NE(OpenKey(HKEY_LOCAL_MACHINE, "Stolen", KEY_READ, &key), ERROR_SUCCESS) << c.what;
        EXPECT_NE(CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\New", false, &key), ERROR_SUCCESS) << c.what;
        EXPECT_FALSE(std::filesystem::exists(outside.path() / "lock")) << c.what;
        EXPECT_EQ(ReadFile(outside.path() / "hive.json"), stolenHive) << c.what;
        EXPECT_EQ(filesIn(outside.path() / "registry"), std::vector<std::string>{"HKEY_LOCAL_MACHINE.json"}) << c.what;

        std::filesystem::remove(c.link);
        std::filesystem::rename(saved, c.link);
    }

    std::filesystem::remove(hostFolder("SRV") / "host.ini");
    std::filesystem::create_symlink(outside.path() / "host.ini", hostFolder("SRV") / "host.ini");
    HKEY remote = 0;
    EXPECT_NE(ConnectRegistry("SRV", HKEY_LOCAL_MACHINE, &remote), ERROR_SUCCESS)
        << "the outside host.ini's permission is not read";
}
