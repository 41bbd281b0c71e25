#include "registry_fixture.h"

using namespace registry_testing;

namespace {

class RemoteRegistryTest : public RegistryTest {
protected:
    void SetUp() override
    {
        RegistryTest::SetUp();
        addHost("SpsTarget", {"TARVEXNET\\tester"}, false, true);
        addHost("Readable", {"TARVEXNET\\admin"}, true, true);
        addHost("Closed", {"TARVEXNET\\admin"}, false, true);
        addHost("Down", {"TARVEXNET\\tester"}, false, false);
    }

    static void addHost(const std::string& name, std::vector<std::string> administrators, bool everyoneReads,
                        bool reachable)
    {
        net::HostInfo host;
        host.name = name;
        host.administrators = std::move(administrators);
        host.remoteRegistryForEveryone = everyoneReads;
        host.reachable = reachable;
        net::SaveHost(host);
    }
};

} // namespace

TEST_F(RemoteRegistryTest, AnAdministratorReadsAndWritesAnotherHostsRegistry)
{
    HKEY machine = 0;
    ASSERT_EQ(ConnectRegistry("\\\\spstarget", HKEY_LOCAL_MACHINE, &machine), ERROR_SUCCESS);
    const HKEY sps = create(machine, "SOFTWARE\\Microsoft\\SharePoint Portal Server");
    const std::string path = "C:\\Program Files\\SharePoint Portal Server";
    ASSERT_EQ(set(sps, "InstallPath", REG_SZ, Bytes(std::string_view(path.c_str(), path.size() + 1))), ERROR_SUCCESS);

    EXPECT_TRUE(std::filesystem::exists(hiveFile("HKEY_LOCAL_MACHINE.json", "SpsTarget")));
    HKEY key = 0;
    EXPECT_EQ(OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft", KEY_READ, &key), ERROR_FILE_NOT_FOUND)
        << "the local host's registry is another one";

    HKEY again = 0;
    ASSERT_EQ(ConnectRegistry("SPSTARGET", HKEY_LOCAL_MACHINE, &again), ERROR_SUCCESS);
    ASSERT_EQ(OpenKey(again, "software\\microsoft\\sharepoint portal server", KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(query(key, "InstallPath").second.size(), path.size() + 1);
    EXPECT_EQ(CloseKey(again), ERROR_SUCCESS);
}

TEST_F(RemoteRegistryTest, ConnectingReportsUnknownHostsAndMissingRights)
{
    const std::vector<std::pair<std::string, Status>> cases = {
        {"NOSUCHHOST", ERROR_BAD_NETPATH},
        {"\\\\Down", ERROR_BAD_NETPATH},
        {"Closed", ERROR_ACCESS_DENIED},
        {"Readable", ERROR_SUCCESS},
        {"", ERROR_SUCCESS},
        {"\\\\localpc", ERROR_SUCCESS},
        {"..", ERROR_BAD_NETPATH},
    };
    for (const auto& [machine, expected] : cases) {
        HKEY key = 0;
        EXPECT_EQ(ConnectRegistry(machine, HKEY_LOCAL_MACHINE, &key), expected) << machine;
    }
    HKEY key = 0;
    EXPECT_EQ(ConnectRegistry("SpsTarget", 0x80000004u, &key), ERROR_INVALID_HANDLE);
}

TEST_F(RemoteRegistryTest, EveryoneMayReadButNotChangeAHostThatAllowsIt)
{
    HKEY asAdministrator = 0;
    {
        testing_support::ScopedEnv admin("USERNAME", "admin");
        ASSERT_EQ(ConnectRegistry("Readable", HKEY_LOCAL_MACHINE, &asAdministrator), ERROR_SUCCESS);
        const HKEY key = create(asAdministrator, "SOFTWARE\\Shared");
        ASSERT_EQ(set(key, "Value", REG_DWORD, {1, 0, 0, 0}), ERROR_SUCCESS);
    }
    HKEY machine = 0, shared = 0;
    ASSERT_EQ(ConnectRegistry("Readable", HKEY_LOCAL_MACHINE, &machine), ERROR_SUCCESS);
    ASSERT_EQ(OpenKey(machine, "SOFTWARE\\Shared", KEY_READ | KEY_SET_VALUE, &shared), ERROR_SUCCESS);
    EXPECT_EQ(query(shared, "Value").second, (std::vector<std::uint8_t>{1, 0, 0, 0}));
    EXPECT_EQ(set(shared, "Value", REG_DWORD, {2, 0, 0, 0}), ERROR_ACCESS_DENIED);
    HKEY key = 0;
    EXPECT_EQ(CreateKey(machine, "SOFTWARE\\Mine", false, &key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(DeleteKey(machine, "SOFTWARE\\Shared"), ERROR_ACCESS_DENIED);
}

TEST_F(RemoteRegistryTest, RestartingAHostDropsOnlyItsVolatileKeys)
{
    HKEY remote = 0;
    ASSERT_EQ(ConnectRegistry("SpsTarget", HKEY_LOCAL_MACHINE, &remote), ERROR_SUCCESS);
    CloseKey(create(remote, "Session", true));
    CloseKey(create(HKEY_LOCAL_MACHINE, "Session", true));

    RestartHost("\\\\SPSTARGET");
    HKEY key = 0;
    EXPECT_EQ(OpenKey(remote, "Session", KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(OpenKey(HKEY_LOCAL_MACHINE, "Session", KEY_READ, &key), ERROR_SUCCESS);
    RestartHost("NOSUCHHOST");
}
