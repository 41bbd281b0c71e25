#include "platform/registry/hive_json.h"
#include "registry_fixture.h"

using namespace registry_testing;
using testing_support::ReadFile;

namespace {

struct ValueCase {
    std::string name;
    std::uint32_t type;
    std::vector<std::uint8_t> bytes;
};

} // namespace

TEST_F(RegistryTest, ValuesKeepTheirTypeAndExactBytesInMemoryAndOnDisk)
{
    const std::vector<ValueCase> cases = {
        {"WithZero", REG_SZ, Bytes(std::string_view("abc\0", 4))},
        {"WithoutZero", REG_SZ, Bytes("abc")},
        {"Binary", REG_BINARY, {0x01, 0x02, 0xFF}},
        {"Number", REG_DWORD, {0x05, 0x00, 0x00, 0x00}},
        {"Strings", REG_MULTI_SZ, Bytes(std::string_view("one\0two\0\0", 9))},
        {"Empty", REG_BINARY, {}},
        {"", REG_SZ, Bytes(std::string_view("default\0", 8))},
        {"Ümlaut name", REG_EXPAND_SZ, Bytes(std::string_view("%PATH%\0", 7))},
    };
    const HKEY key = create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarvex");
    for (const ValueCase& value : cases) ASSERT_EQ(set(key, value.name, value.type, value.bytes), ERROR_SUCCESS);

    for (const ValueCase& value : cases) {
        const auto [type, bytes] = query(key, value.name);
        EXPECT_EQ(type, value.type) << value.name;
        EXPECT_EQ(bytes, value.bytes) << value.name;
    }

    const Hive stored = HiveFromJson(ReadFile(hiveFile("HKEY_LOCAL_MACHINE.json")));
    const RegistryKey* storedKey = FindKey(stored, {"SOFTWARE", "Tarvex"}, 1);
    ASSERT_NE(storedKey, nullptr);
    ASSERT_EQ(storedKey->values.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(storedKey->values[i].name, cases[i].name);
        EXPECT_EQ(storedKey->values[i].type, cases[i].type);
        EXPECT_EQ(storedKey->values[i].data, cases[i].bytes);
    }
}

TEST_F(RegistryTest, QueryValueFollowsTheBufferRulesOfTheSystemCall)
{
    const HKEY key = create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarvex");
    ASSERT_EQ(set(key, "Path", REG_SZ, Bytes(std::string_view("C:\\x\0", 5))), ERROR_SUCCESS);

    std::uint32_t type = 0, size = 0;
    EXPECT_EQ(QueryValue(key, "path", &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 5u);

    std::uint8_t small[3] = {9, 9, 9};
    size = sizeof small;
    EXPECT_EQ(QueryValue(key, "Path", &type, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 5u);

    std::uint8_t large[8] = {};
    size = sizeof large;
    EXPECT_EQ(QueryValue(key, "Path", nullptr, large, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(large), 5), std::string("C:\\x\0", 5));

    EXPECT_EQ(QueryValue(key, "Path", nullptr, large, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(QueryValue(key, "Missing", &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(QueryValue(key, "", &type, nullptr, &size), ERROR_FILE_NOT_FOUND) << "no default value set";
    EXPECT_EQ(SetValue(key, "Null", REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(SetValue(key, "Null", REG_BINARY, nullptr, 0), ERROR_SUCCESS);
}

TEST_F(RegistryTest, ValueNamesMatchInAnyCaseKeepTheirCaseAndPlace)
{
    const HKEY key = create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarvex");
    ASSERT_EQ(set(key, "First", REG_DWORD, {1, 0, 0, 0}), ERROR_SUCCESS);
    ASSERT_EQ(set(key, "Second", REG_DWORD, {2, 0, 0, 0}), ERROR_SUCCESS);
    ASSERT_EQ(set(key, "FIRST", REG_BINARY, {7}), ERROR_SUCCESS);

    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    ASSERT_EQ(EnumValue(key, 0, &name, &type, &data), ERROR_SUCCESS);
    EXPECT_EQ(name, "First");
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(data, (std::vector<std::uint8_t>{7}));
    ASSERT_EQ(EnumValue(key, 1, &name, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(name, "Second");
    EXPECT_EQ(EnumValue(key, 2, &name, nullptr, nullptr), ERROR_NO_MORE_ITEMS);

    EXPECT_EQ(DeleteValue(key, "first"), ERROR_SUCCESS);
    EXPECT_EQ(DeleteValue(key, "first"), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(EnumValue(key, 0, &name, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(name, "Second");
}

TEST_F(RegistryTest, ValueNamesAreChecked)
{
    const HKEY key = create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarvex");
    const std::vector<std::string> refused = {std::string("a\0b", 3), "\xC3\x28", std::string(16384, 'v')};
    for (const std::string& name : refused) EXPECT_EQ(set(key, name, REG_SZ, {}), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(set(key, std::string(16383, 'v'), REG_SZ, {}), ERROR_SUCCESS);
}

TEST(SystemMessage, GivesTheTextsCallersShow)
{
    const std::vector<std::pair<Status, std::string>> cases = {
        {0, "The operation completed successfully."},
        {2, "The system cannot find the file specified."},
        {3, "The system cannot find the path specified."},
        {5, "Access is denied."},
        {6, "The handle is invalid."},
        {53, "The network path was not found."},
        {87, "The parameter is incorrect."},
        {161, "The specified path is invalid."},
        {234, "More data is available."},
        {259, "No more data is available."},
        {99999, ""},
    };
    for (const auto& [code, text] : cases) EXPECT_EQ(SystemMessage(code), text) << code;
    EXPECT_FALSE(SystemMessage(ERROR_KEY_DELETED).empty());
    EXPECT_FALSE(SystemMessage(ERROR_CHILD_MUST_BE_VOLATILE).empty());
}
