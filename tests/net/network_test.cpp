#include "platform/net/network.h"
#include "support/network_root.h"

#include <gtest/gtest.h>

using namespace net;
using testing_support::ReadFile;
using testing_support::ScopedEnv;
using testing_support::TemporaryNetworkRoot;
using testing_support::WriteFile;

TEST(NetworkRoot, ComesFromTheEnvironmentInItsOrder)
{
    struct Case {
        std::optional<std::string> network, xdg, home;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"/net/root", "/xdg", "/home/u", "/net/root"},
        {std::nullopt, "/xdg", "/home/u", "/xdg/tarvex/network"},
        {"", "/xdg", "/home/u", "/xdg/tarvex/network"},
        {std::nullopt, std::nullopt, "/home/u", "/home/u/.local/share/tarvex/network"},
        {std::nullopt, "relative", "/home/u", "/home/u/.local/share/tarvex/network"},
    };
    for (const Case& c : cases) {
        ScopedEnv network("TARVEX_NETWORK", c.network);
        ScopedEnv xdg("XDG_DATA_HOME", c.xdg);
        ScopedEnv home("HOME", c.home);
        EXPECT_EQ(NetworkRoot(), c.expected);
    }
}

TEST(Network, InitializingCreatesTheLocalHostAndKeepsAnExistingNetwork)
{
    TemporaryNetworkRoot root;
    EXPECT_FALSE(NetworkExists());
    EXPECT_EQ(LocalHostName(), "");

    InitializeNetwork({"Workstation", {"TARVEXNET", "OTHER"}});
    EXPECT_TRUE(NetworkExists());
    EXPECT_EQ(ReadNetwork().domains, (std::vector<std::string>{"TARVEXNET", "OTHER"}));
    ASSERT_TRUE(FindHost("WORKSTATION"));
    EXPECT_EQ(FindHost("WORKSTATION")->name, "Workstation");

    InitializeNetwork({"Elsewhere", {}});
    EXPECT_EQ(LocalHostName(), "Workstation");
    EXPECT_FALSE(FindHost("Elsewhere"));
}

TEST(Network, HostsKeepTheirSettingsAndTheCaseOfTheirNames)
{
    TemporaryNetworkRoot root;
    HostInfo source;
    source.name = "SpsSource";
    source.domain = "TARVEXNET";
    source.osVersion = "5.1";
    source.servicePack = "Service Pack 2";
    source.serverType = "server";
    source.comment = "Document server";
    source.services = {"MSDMSERV", "W3SVC"};
    source.administrators = {"TARVEXNET\\Alice"};
    source.remoteRegistryForEveryone = true;
    SaveHost(source);

    const auto found = FindHost("spssource");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->name, "SpsSource");
    EXPECT_EQ(found->folder, root.path() / "hosts" / "SpsSource");
    EXPECT_EQ(found->domain, "TARVEXNET");
    EXPECT_EQ(found->osVersion, "5.1");
    EXPECT_EQ(found->servicePack, "Service Pack 2");
    EXPECT_EQ(found->serverType, "server");
    EXPECT_EQ(found->comment, "Document server");
    EXPECT_TRUE(found->reachable);
    EXPECT_TRUE(found->remoteRegistryForEveryone);
    EXPECT_TRUE(found->runsService("msdmserv"));
    EXPECT_FALSE(found->runsService("MSExchangeSA"));
    EXPECT_TRUE(found->isAdministrator("tarvexnet\\ALICE"));
    EXPECT_FALSE(found->isAdministrator("Alice"));

    HostInfo update = *found;
    update.name = "SPSSOURCE";
    update.reachable = false;
    EXPECT_EQ(SaveHost(update).name, "SpsSource");
    EXPECT_FALSE(FindHost("SpsSource")->reachable);
    EXPECT_EQ(FindHost("SpsSource")->domain, "TARVEXNET");
}

TEST(Network, ListsHostsByNameAndRefusesUnsafeNames)
{
    TemporaryNetworkRoot root;
    for (const char* name : {"zeta", "Alpha", "beta"}) {
        HostInfo host;
        host.name = name;
        SaveHost(host);
    }
    std::vector<std::string> names;
    for (const HostInfo& host : Hosts()) names.push_back(host.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "beta", "zeta"}));

    for (const std::string name : {"..", "a/b", "", "x\\y"}) {
        HostInfo host;
        host.name = name;
        EXPECT_THROW(SaveHost(host), com::ComError) << name;
        EXPECT_FALSE(FindHost(name)) << name;
    }
    HostInfo withLineBreak;
    withLineBreak.name = "ok";
    withLineBreak.comment = "two\nlines";
    EXPECT_THROW(SaveHost(withLineBreak), com::ComError);
}

TEST(Network, BootIdAdvancesAndSurvivesSavingTheHost)
{
    TemporaryNetworkRoot root;
    HostInfo host;
    host.name = "Server";
    host = SaveHost(host);
    EXPECT_EQ(BootId(host), 1u);
    EXPECT_EQ(AdvanceBootId(host), 2u);
    host.comment = "changed";
    SaveHost(host);
    EXPECT_EQ(BootId(host), 2u);
    EXPECT_NE(ReadFile(host.folder / "host.ini").find("boot_id = 2"), std::string::npos);
}

TEST(Network, UnknownOrMissingHostsAreNotFound)
{
    TemporaryNetworkRoot root;
    EXPECT_FALSE(FindHost("anything"));
    EXPECT_TRUE(Hosts().empty());
    WriteFile(root.path() / "hosts" / "file-not-folder", "x");
    EXPECT_FALSE(FindHost("file-not-folder"));
    EXPECT_TRUE(Hosts().empty());
}

// Each of the network's own files and folders replaced by a link to something
// outside the root: the link is refused naming its path, and nothing outside
// is read or written.
TEST(Network, LinksInPlaceOfItsFilesAreRefusedAndNothingOutsideIsTouched)
{
    struct Case {
        const char* what;
        std::filesystem::path link;       // below the root
        bool folder;                      // the link stands for a folder
    };
    const Case cases[] = {
        {"network.ini", "network.ini", false},
        {"the hosts folder", "hosts", true},
        {"a host's folder", "hosts/Server", true},
        {"a host's settings", "hosts/Server/host.ini", false},
    };
    for (const Case& c : cases) {
        TemporaryNetworkRoot root;
        InitializeNetwork({"Workstation", {"TARVEXNET"}});
        HostInfo server;
        server.name = "Server";
        SaveHost(server);

        testing_support::TempFolder outside;
        WriteFile(outside.path() / "network.ini", "[network]\nlocal_host = Stolen\n");
        WriteFile(outside.path() / "host.ini", "[host]\ndomain = STOLEN\n");
        std::filesystem::create_directories(outside.path() / "Server");
        WriteFile(outside.path() / "Server" / "host.ini", "[host]\ndomain = STOLEN\n");
        const std::filesystem::path target = outside.path() / c.link.filename();
        std::filesystem::remove_all(root.path() / c.link);
        if (c.folder) std::filesystem::create_directory_symlink(target, root.path() / c.link);
        else std::filesystem::create_symlink(target, root.path() / c.link);

        const std::vector<std::function<void()>> uses = {
            [] { ReadNetwork(); },
            [] { FindHost("Server"); },
            [&] { BootId(server); },
            [&] { AdvanceBootId(server); },
        };
        bool refused = false;
        for (const auto& use : uses) {
            try {
                use();
            } catch (const com::ComError& error) {
                EXPECT_EQ(error.number(), com::HResultFromWin32(ERROR_INVALID_NAME)) << c.what;
                EXPECT_NE(error.description().find((root.path() / c.link).string()), std::string::npos)
                    << c.what << ": " << error.description();
                refused = true;
            }
        }
        EXPECT_TRUE(refused) << c.what;
        EXPECT_EQ(ReadFile(outside.path() / "host.ini"), "[host]\ndomain = STOLEN\n") << c.what;
        EXPECT_EQ(ReadFile(outside.path() / "Server" / "host.ini"), "[host]\ndomain = STOLEN\n") << c.what;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(outside.path()), {}), 3) << c.what;
    }
}
