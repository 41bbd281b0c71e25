#include "platform/registry/key_names.h"
#include "registry_fixture.h"

using namespace registry_testing;

TEST_F(RegistryTest, SubkeysListInCreationOrderAndMatchInAnyCase)
{
    const HKEY software = create(HKEY_LOCAL_MACHINE, "SOFTWARE");
    for (const char* name : {"zeta", "Alpha", "Mitte Ü"}) CloseKey(create(software, name));
    EXPECT_EQ(subkeys(software), (std::vector<std::string>{"zeta", "Alpha", "Mitte Ü"}));

    HKEY opened = 0;
    bool created = true;
    ASSERT_EQ(CreateKey(HKEY_LOCAL_MACHINE, "software\\ALPHA\\New", false, &opened, &created), ERROR_SUCCESS);
    EXPECT_TRUE(created);
    ASSERT_EQ(CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\alpha\\new", false, &opened, &created), ERROR_SUCCESS);
    EXPECT_FALSE(created);
    EXPECT_EQ(subkeys(software), (std::vector<std::string>{"zeta", "Alpha", "Mitte Ü"}));

    HKEY mitte = 0;
    ASSERT_EQ(OpenKey(HKEY_LOCAL_MACHINE, "Software\\mitte ü", KEY_READ, &mitte), ERROR_SUCCESS);
    ASSERT_EQ(OpenKey(software, "", KEY_READ, &opened), ERROR_SUCCESS);
    EXPECT_EQ(subkeys(opened).size(), 3u);
    EXPECT_EQ(OpenKey(software, "Missing\\Deeper", KEY_READ, &opened), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, EnumKeyReportsTheEndAndTooSmallNameBuffers)
{
    const HKEY key = create(HKEY_LOCAL_MACHINE, "SOFTWARE");
    CloseKey(create(key, "TenLetters"));
    std::string name = "unchanged";
    EXPECT_EQ(EnumKey(key, 0, &name, 10), ERROR_MORE_DATA);
    EXPECT_EQ(name, "unchanged");
    EXPECT_EQ(EnumKey(key, 0, &name, 11), ERROR_SUCCESS);
    EXPECT_EQ(name, "TenLetters");
    EXPECT_EQ(EnumKey(key, 1, &name), ERROR_NO_MORE_ITEMS);
}

TEST_F(RegistryTest, KeyPathsAreChecked)
{
    HKEY key = 0;
    const std::vector<std::pair<std::string, Status>> cases = {
        {std::string(255, 'k'), ERROR_SUCCESS},
        {"Trailing\\", ERROR_SUCCESS},
        {std::string(256, 'k'), ERROR_INVALID_PARAMETER},
        {"a\\" + std::string(256, 'k'), ERROR_INVALID_PARAMETER},
        {std::string("nul\0inside", 10), ERROR_INVALID_PARAMETER},
        {"bad \xFF text", ERROR_INVALID_PARAMETER},
        {"\\Leading", ERROR_BAD_PATHNAME},
        {"double\\\\separator", ERROR_BAD_PATHNAME},
    };
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(CreateKey(HKEY_LOCAL_MACHINE, path, false, &key), expected) << path.size();
    }
    std::string umlauts;
    for (int i = 0; i < 255; ++i) umlauts += "ü";
    EXPECT_EQ(CreateKey(HKEY_LOCAL_MACHINE, umlauts, false, &key), ERROR_SUCCESS) << "255 characters, 510 bytes";
}

TEST(KeyNames, Utf8IsValidatedStrictly)
{
    const std::vector<std::pair<std::string, bool>> cases = {
        {"plain", true}, {"Ärger €", true}, {"\xF0\x9F\x98\x80", true},
        {"\xC3", false}, {"\xC0\xAF", false}, {"\xE0\x80\xAF", false}, {"\xED\xA0\x80", false},
        {"\xF4\x90\x80\x80", false}, {"\x80", false},
    };
    for (const auto& [text, valid] : cases) EXPECT_EQ(IsValidUtf8(text), valid) << text;
}

TEST_F(RegistryTest, DeletingKeysFollowsTheSystemRules)
{
    const HKEY tarvex = create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarvex");
    const HKEY child = create(tarvex, "Child");

    EXPECT_EQ(DeleteKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarvex"), ERROR_ACCESS_DENIED) << "it has a subkey";
    EXPECT_EQ(DeleteKey(tarvex, "missing"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(DeleteKey(tarvex, "CHILD"), ERROR_SUCCESS);
    EXPECT_EQ(set(child, "x", REG_SZ, {}), ERROR_KEY_DELETED);

    CloseKey(create(tarvex, "Child"));
    EXPECT_EQ(set(child, "x", REG_SZ, {}), ERROR_KEY_DELETED) << "a re-created key is another key";
    std::string name;
    EXPECT_EQ(EnumKey(child, 0, &name), ERROR_KEY_DELETED);

    EXPECT_EQ(DeleteKey(HKEY_LOCAL_MACHINE, ""), ERROR_ACCESS_DENIED);
    EXPECT_EQ(DeleteKey(HKEY_CLASSES_ROOT, ""), ERROR_ACCESS_DENIED);
    const HKEY again = create(tarvex, "Child");
    EXPECT_EQ(DeleteKey(again, ""), ERROR_SUCCESS);
    EXPECT_EQ(subkeys(tarvex), std::vector<std::string>{});
}

TEST_F(RegistryTest, HandlesAllowOnlyWhatTheyWereOpenedFor)
{
    CloseKey(create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarvex"));
    HKEY readOnly = 0, queryOnly = 0;
    ASSERT_EQ(OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarvex", KEY_READ, &readOnly), ERROR_SUCCESS);
    ASSERT_EQ(OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarvex", KEY_QUERY_VALUE, &queryOnly), ERROR_SUCCESS);

    HKEY key = 0;
    std::string name;
    EXPECT_EQ(set(readOnly, "x", REG_SZ, {}), ERROR_ACCESS_DENIED);
    EXPECT_EQ(CreateKey(readOnly, "Sub", false, &key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(EnumKey(readOnly, 0, &name), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(EnumKey(queryOnly, 0, &name), ERROR_ACCESS_DENIED);

    HKEY vornikAccess = 0;
    ASSERT_EQ(OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarvex", KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE, &vornikAccess),
              ERROR_SUCCESS);
    EXPECT_EQ(set(vornikAccess, "x", REG_SZ, {}), ERROR_SUCCESS);
    EXPECT_EQ(CreateKey(vornikAccess, "Sub", false, &key), ERROR_SUCCESS);
}

TEST_F(RegistryTest, UnknownAndClosedHandlesAreInvalid)
{
    const HKEY key = create(HKEY_LOCAL_MACHINE, "SOFTWARE");
    EXPECT_EQ(CloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(CloseKey(key), ERROR_INVALID_HANDLE);
    std::uint32_t size = 0;
    EXPECT_EQ(QueryValue(key, "x", nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
    EXPECT_EQ(QueryValue(0x12345678, "x", nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
    EXPECT_EQ(CloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
    EXPECT_EQ(OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE", KEY_READ, nullptr), ERROR_INVALID_PARAMETER);
}
