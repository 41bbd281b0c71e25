// The tarvex-net commands that create and show what the component reads, as
// users run them.

#include "netperm_fixture.h"

#include "platform/net/domains.h"
#include "platform/net/security.h"
#include "platform/net/servers.h"

#include "support/tool_process.h"

using namespace netperm_testing;

namespace {

namespace fs = std::filesystem;

class ToolTest : public ::testing::Test {
protected:
    // Runs tarvex-net; its exit code, its output in output().
    int Run(const std::vector<std::string>& words)
    {
        return testing_support::RunTool("tarvex-net", words, outputFile, "/dev/null");
    }

    std::string output() const { return testing_support::ReadFile(outputFile); }

    testing_support::TemporaryNetworkRoot root;
    testing_support::TempFolder work;
    fs::path outputFile = work.path() / "out.txt";
};

TEST_F(ToolTest, CommandsCreateTheNetworkDataAndShowListsIt)
{
    const std::vector<std::vector<std::string>> commands{
        {"init", "--local-host", "WS", "--domains", "ACME"},
        {"host", "DC1", "--domain", "ACME", "--type", "domain_controller", "--addresses", "10.2.0.1"},
        {"host", "FS1", "--domain", "ACME", "--type", "server", "--os-version", "4.0", "--services", "MSDMSERV;W3SVC",
         "--comment", "File server"},
        {"domain", "ACME", "--trusts", "OTHER"},
        {"account", "DC1", "alice", "--kind", "user", "--full-name", "Alice Ames"},
        {"account", "DC1", "Staff", "--kind", "global", "--members", "alice"},
        {"account", "DC1", "Editors", "--kind", "local", "--members", "ACME\\Staff;Everyone"},
        {"share", "FS1", "Docs", "--path", "C:\\Team\\Docs", "--remark", "Team documents"},
        {"acl", "\\\\FS1\\Docs", "--share", "--entries", "allow ACME\\alice change;deny Everyone full"},
        {"acl", "\\\\FS1\\Docs", "--empty"},
        {"connect", "\\\\FS1\\IPC$", "--user", "alice"},
    };
    for (const auto& command : commands) ASSERT_EQ(Run(command), 0) << command.front() << " " << command.at(1);

    const net::ServerRecord record = net::ReadServerRecord("FS1");
    EXPECT_EQ(record.major, 4u);
    EXPECT_EQ(record.type & net::SV_TYPE_SERVER_NT, net::SV_TYPE_SERVER_NT);
    EXPECT_EQ(net::FindDomainController("acme"), "DC1");
    EXPECT_EQ(net::TrustedDomains("ACME"), std::vector<std::string>{"OTHER"});
    EXPECT_EQ(net::HostNameForAddress("10.2.0.1"), "DC1");
    const net::SecurityDescriptor share = net::ReadShareSecurity("\\\\FS1\\Docs");
    ASSERT_TRUE(share.dacl);
    ASSERT_EQ(share.dacl->size(), 2u);
    EXPECT_EQ(share.dacl->at(1).sid, "S-1-1-0");
    EXPECT_EQ(share.dacl->at(1).mask, 0x1F01FFu);
    const net::SecurityDescriptor folder = net::ReadFileSecurity("\\\\FS1\\Docs");
    EXPECT_TRUE(folder.dacl && folder.dacl->empty());

    ASSERT_EQ(Run({"show", "FS1"}), 0);
    const std::string shown = output();
    for (const char* line : {"host FS1: domain ACME, os 4.0, type 0x00009003", "  services: MSDMSERV, W3SVC",
                             "share Docs: 0x00000000 C:\\Team\\Docs \"Team documents\"",
                             "    allow 0x001301BF ACME\\alice", "    deny 0x001F01FF Everyone", "file C:\\Team\\Docs",
                             "    empty DACL: no one may do anything"})
        EXPECT_NE(shown.find(line), std::string::npos) << line << "\n" << shown;
    ASSERT_EQ(Run({"show", "DC1"}), 0);
    EXPECT_NE(output().find("    member ACME\\Staff\n    member Everyone"), std::string::npos) << output();
    ASSERT_EQ(Run({"show", "WS"}), 0);
    EXPECT_NE(output().find("connection \\\\FS1\\IPC$ as alice"), std::string::npos) << output();
    ASSERT_EQ(Run({"show"}), 0);
    EXPECT_NE(output().find("domain ACME: controller DC1, trusts OTHER"), std::string::npos) << output();
}

TEST_F(ToolTest, WrongInputIsRefusedAndChangesNothing)
{
    ASSERT_EQ(Run({"init", "--local-host", "WS", "--domains", "ACME"}), 0);
    ASSERT_EQ(Run({"host", "FS1", "--domain", "ACME"}), 0);
    const struct {
        std::vector<std::string> command;
        int exitCode;
    } cases[] = {
        {{"host", "FS1", "--type", "mainframe"}, 2},
        {{"host", "FS1", "--addresses", "10.0.0.300"}, 2},
        {{"account", "FS1", "bob", "--kind", "admin"}, 2},
        {{"account", "FS1", "Editors", "--kind", "local", "--members", "NOBODY\\x"}, 1},
        {{"account", "FS1", "bad,name", "--kind", "user"}, 1},
        {{"share", "FS1", "C$", "--path", "C:\\"}, 1},
        {{"share", "FS1", "Docs"}, 1},
        {{"acl", "\\\\FS1\\C$", "--entries", "allow nobody read"}, 2},
        {{"acl", "\\\\FS1\\C$\\missing.txt", "--empty"}, 1},
        {{"connect", "\\\\NOHOST\\IPC$", "--user", "x"}, 1},
        {{"show", "NOHOST"}, 2},
    };
    const std::string before = testing_support::ReadFile(net::FindHost("FS1")->folder / "host.ini");
    for (const auto& c : cases) EXPECT_EQ(Run(c.command), c.exitCode) << c.command.front() << " " << c.command.at(1);
    EXPECT_EQ(testing_support::ReadFile(net::FindHost("FS1")->folder / "host.ini"), before);
    for (const char* file : {"accounts.ini", "shares.ini", "acl.txt"})
        EXPECT_FALSE(fs::exists(net::FindHost("FS1")->folder / file)) << file;
}

} // namespace
