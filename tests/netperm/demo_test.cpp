// The component against the demo network, as set-up leaves it: every member
// answers with something real.

#include "netperm_fixture.h"

#include "platform/com/module_loader.h"
#include "platform/store/admin.h"

using namespace netperm_testing;

namespace {

class DemoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        store::BuildDemoNetwork();
        ASSERT_EQ(com::LoadModule(NetpermModulePath()).registerServer(), com::S_OK);
        shares = com::CreateObject("NETPERM.CSPShares.1");
    }

    testing_support::TemporaryNetworkRoot root;
    testing_support::ScopedEnv userDomain{"USERDOMAIN", "TARVEXNET"};
    testing_support::ScopedEnv userName{"USERNAME", "demo"};
    ui::ScriptedMessageBoxes boxes;
    net::ScriptedSessionPrompts prompts;
    com::Object shares;
};

// Network discovery's two calls: the domains, then each domain's store servers.
TEST_F(DemoTest, DiscoveryFindsTheDomainsAndTheStoreServersOfEach)
{
    std::int32_t unused = 0;
    com::Variant domainCount(unused);
    const com::Value domains = shares.call("GetDomains", Out(domainCount));
    EXPECT_EQ(Strings(domains), (std::vector<std::string>{"TARVEXNET", "BERLIN"}));

    const std::vector<std::vector<std::string>> expected{{"SPSSOURCE", "SPSTARGET"}, {"SPSBERLIN"}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        com::Variant count;
        const com::Value servers = shares.call("GetSPServers", domains.array().elements[i], Out(count));
        EXPECT_EQ(Strings(servers), expected[i]);
        EXPECT_EQ(count.toInt32(), int(expected[i].size()));
    }
}

TEST_F(DemoTest, EveryMemberAnswersWithTheDemoData)
{
    com::Variant a, b, c, d, e, f, g, h;
    EXPECT_EQ(Strings(shares.call("GetServers", "TARVEXNET", 1, Out(a), Out(b))), std::vector<std::string>{"OLDPC"});
    EXPECT_EQ(Strings(shares.call("GetServers", "TARVEXNET", 3, Out(a), Out(b))), std::vector<std::string>{"NTFILES"});
    EXPECT_EQ(Strings(shares.call("GetExchangeServers", "TARVEXNET", Out(a))), std::vector<std::string>{"MAILSRV"});
    EXPECT_EQ(shares.call("IsExchServer", "MAILSRV").toInt32(), 1);
    EXPECT_EQ(shares.call("IsSPServer", "SPSSOURCE").toInt32(), 1);
    EXPECT_EQ(shares.call("GetServerName", "10.0.0.5").toString(), "SPSSOURCE");
    EXPECT_EQ(shares.call("GetOSType", "SPSSOURCE", Out(a)).toInt32(), 4);
    EXPECT_EQ(shares.call("IsValidDomain", "BERLIN").toInt32(), 1);

    EXPECT_EQ(shares.call("GetShares", "SPSSOURCE", Out(a)).toInt32(), 6);
    EXPECT_EQ(Strings(a), (std::vector<std::string>{"Public", "Projects", "Backup$", "Printer", "C$", "IPC$"}));
    const com::Object sharePerm = shares.call("GetSharesEx", "SPSSOURCE", Out(a), Out(b));
    EXPECT_EQ(Strings(a), (std::vector<std::string>{"Public", "Projects", "Printer"}));
    EXPECT_EQ(Strings(sharePerm.call("GetSharePermissions", "SPSSOURCE", "Public", Out(a), Out(b))),
              (std::vector<std::string>{"Everyone @\\@ Read", "TARVEXNET\\Marketing @\\@ Change",
                                        "TARVEXNET\\frieda @\\@ No Access"}));

    const com::Object filePerm = shares.call("GetFilesInShare", "\\\\SPSSOURCE\\Public", Out(a), Out(b));
    EXPECT_EQ(Strings(a), (std::vector<std::string>{"plan.doc", "Reports", "welcome.txt"}));
    shares.call("GetAllFoldersInShare", "\\\\SPSSOURCE\\Public", Out(a), Out(b));
    EXPECT_EQ(Strings(a).size(), 1u);
    EXPECT_EQ(b.toInt32(), 1);
    shares.call("GetAllFilesInShare", "\\\\SPSSOURCE\\Public", Out(a), Out(b));
    EXPECT_EQ(b.toInt32(), 2);
    filePerm.call("GetObjectPermissionsEx", "SPSSOURCE", "SPSBERLIN", 1, "\\\\SPSSOURCE\\Public\\plan.doc", Out(a),
                  Out(b), Out(c), Out(d), Out(e), Out(f), Out(g), Out(h));
    EXPECT_EQ(Strings(g), std::vector<std::string>{"TARVEXNET\\Document Editors @\\@ Change"});
    EXPECT_EQ(Strings(h), std::vector<std::string>{});

    EXPECT_EQ(Strings(shares.call("GetUsers", "TARVEXNET", 1, Out(a), Out(b), Out(c))).size(), 9u);
    EXPECT_EQ(Strings(shares.call("GetGroups", "BERLINDC", 0, Out(a), Out(b))),
              (std::vector<std::string>{"Administrators", "Domain Users", "Vertrieb", "Domain Admins"}));
    EXPECT_EQ(Strings(shares.call("GetUsersInGroup", "TARVEXDC", 0, "Document Editors", 0, Out(a))),
              (std::vector<std::string>{"TARVEXNET\\Marketing", "BERLIN\\Vertrieb", "TARVEXNET\\erik"}));
    shares.call("EstablishSession", "TARVEXNET", 1);
    EXPECT_EQ(net::Connections().size(), 1u);
}

} // namespace
