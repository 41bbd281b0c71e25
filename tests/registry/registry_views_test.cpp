#include "registry_fixture.h"

#include "support/network_root.h"

using namespace registry_testing;
using testing_support::ReadFile;

TEST_F(RegistryTest, ClassesRootIsTheClassesKeyOfTheMachineHive)
{
    const HKEY progId = create(HKEY_CLASSES_ROOT, "Vornik.Registry");
    ASSERT_EQ(set(progId, "", REG_SZ, Bytes(std::string_view("Vorn Registry Class\0", 20))), ERROR_SUCCESS);

    HKEY viaMachine = 0;
    ASSERT_EQ(OpenKey(HKEY_LOCAL_MACHINE, "Software\\Classes\\vornik.registry", KEY_READ, &viaMachine), ERROR_SUCCESS);
    EXPECT_EQ(query(viaMachine, "").second, Bytes(std::string_view("Vorn Registry Class\0", 20)));
    EXPECT_EQ(subkeys(HKEY_CLASSES_ROOT), std::vector<std::string>{"Vornik.Registry"});
}

TEST_F(RegistryTest, CurrentUserAndCurrentConfigAreKeysOfTheStoredHives)
{
    EXPECT_EQ(CurrentUserKeyName(), "TARVEXNET_tester");
    CloseKey(create(HKEY_CURRENT_USER, "Software\\Tarvex"));
    HKEY key = 0;
    EXPECT_EQ(OpenKey(HKEY_USERS, "TARVEXNET_tester\\Software\\Tarvex", KEY_READ, &key), ERROR_SUCCESS);

    CloseKey(create(HKEY_CURRENT_CONFIG, "Display"));
    EXPECT_EQ(OpenKey(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current\\Display", KEY_READ, &key),
              ERROR_SUCCESS);
}

TEST_F(RegistryTest, VolatileKeysLastUntilTheHostRestarts)
{
    const HKEY lasting = create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Lasting");
    const HKEY session = create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Session", true);
    const HKEY inner = create(session, "Inner", true);
    ASSERT_EQ(set(inner, "n", REG_DWORD, {1, 0, 0, 0}), ERROR_SUCCESS);

    HKEY key = 0;
    EXPECT_EQ(CreateKey(session, "Stable", false, &key), ERROR_CHILD_MUST_BE_VOLATILE);
    EXPECT_EQ(CreateKey(session, "Inner", false, &key), ERROR_SUCCESS) << "an existing key is only opened";
    EXPECT_EQ(subkeys(session), std::vector<std::string>{"Inner"});
    CloseKey(create(HKEY_LOCAL_MACHINE, "Made\\Together", true));
    EXPECT_EQ(CreateKey(HKEY_LOCAL_MACHINE, "Made\\Stable", false, &key), ERROR_CHILD_MUST_BE_VOLATILE)
        << "the missing parents of a volatile key are made volatile too";

    RestartHost("");
    EXPECT_EQ(OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Session", KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(set(inner, "n", REG_DWORD, {2, 0, 0, 0}), ERROR_KEY_DELETED);
    EXPECT_EQ(set(lasting, "n", REG_DWORD, {2, 0, 0, 0}), ERROR_SUCCESS);
    EXPECT_EQ(ReadFile(hiveFile("HKEY_LOCAL_MACHINE.json")).find("Session"), std::string::npos);
    EXPECT_EQ(OpenKey(HKEY_LOCAL_MACHINE, "Made", KEY_READ, &key), ERROR_FILE_NOT_FOUND);

    const HKEY renewed = create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Session", true);
    EXPECT_EQ(subkeys(renewed), std::vector<std::string>{});
}

TEST_F(RegistryTest, VolatileKeysOfAnEarlierBootAreHiddenAndDroppedAtTheNextWrite)
{
    CloseKey(create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Session", true));
    net::AdvanceBootId(*net::FindHost("LOCALPC")); // a restart that did not clean up, as after a crash

    HKEY key = 0;
    EXPECT_EQ(OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Session", KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_NE(ReadFile(hiveFile("HKEY_LOCAL_MACHINE.json")).find("Session"), std::string::npos);
    CloseKey(create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Other"));
    EXPECT_EQ(ReadFile(hiveFile("HKEY_LOCAL_MACHINE.json")).find("Session"), std::string::npos);
    EXPECT_EQ(OpenKey(HKEY_LOCAL_MACHINE, "Made", KEY_READ, &key), ERROR_FILE_NOT_FOUND);
}

TEST(RegistryWithoutNetwork, PredefinedKeysNeedALocalHost)
{
    testing_support::TemporaryNetworkRoot root;
    HKEY key = 0;
    EXPECT_EQ(CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE", false, &key), ERROR_BAD_NETPATH);
    EXPECT_EQ(ConnectRegistry("", HKEY_LOCAL_MACHINE, &key), ERROR_BAD_NETPATH);
}
