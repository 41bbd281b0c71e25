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
