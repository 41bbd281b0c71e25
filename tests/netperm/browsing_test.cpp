// Domains, servers, shares, host names and OS types, called by member name.

#include "netperm_fixture.h"

#include "platform/net/shares.h"

using namespace netperm_testing;

namespace {

const std::string BadNetPath = "The network path was not found.";

class BrowsingTest : public NetpermTest {
protected:
    static void SetRecord(const std::string& host, const std::string& comment, std::vector<std::string> addresses)
    {
        net::HostInfo info = *net::FindHost(host);
        info.comment = comment;
        info.addresses = std::move(addresses);
        net::SaveHost(info);
    }
};

TEST_F(BrowsingTest, GetDomainsListsTheDomainsAndLeavesBothOutputsWhenThereAreNone)
{
    com::Variant count;
    const com::Value domains = shares.call("GetDomains", Out(count));
    EXPECT_EQ(Strings(domains), (std::vector<std::string>{"CORP", "PARTNER", "EMPTYDOM"}));
    EXPECT_EQ(count.type(), com::VT_I4);
    EXPECT_EQ(count.toInt32(), 3);

    net::WriteNetwork({"LOCALPC", {}});
    com::Variant untouched("before");
    EXPECT_TRUE(shares.call("GetDomains", Out(untouched)).isEmpty());
    EXPECT_EQ(untouched.toString(), "before");
}

TEST_F(BrowsingTest, GetServersKeepsAndLabelsTheServersOfEachServerType)
{
    const std::string w2kServer = "Windows 2000 Server", w2kPro = "Windows 2000 Professional";
    const std::string nt4Server = "Windows NT 4.0 Server", nt4Workstation = "Windows NT 4.0 Workstation";
    const struct {
        int serverType;
        std::vector<std::string> names;
        std::vector<std::string> labels;
    } cases[] = {
        {1, {"WIN98"}, {"Windows 9x"}},
        {2, {"NTWKS"}, {nt4Workstation}},
        {3, {"SPSNT4"}, {nt4Server}},
        {4, {"LOCALPC", "XPWKS"}, {w2kPro, w2kPro}},
        {5, {"CORPDC", "MAIL", "SPS2K", "SPSDOWN"}, {w2kServer, w2kServer, w2kServer, w2kServer}},
        {6,
         {"CORPDC", "LOCALPC", "MAIL", "NTWKS", "SPS2K", "SPSDOWN", "SPSNT4", "VISTA", "WIN98", "XPWKS"},
         {w2kServer, w2kPro, w2kServer, nt4Workstation, w2kServer, w2kServer, nt4Server, "", "Windows 9x", w2kPro}},
        {7,
         {"CORPDC", "LOCALPC", "MAIL", "NTWKS", "SPS2K", "SPSDOWN", "SPSNT4", "XPWKS"},
         {w2kServer, w2kPro, w2kServer, nt4Workstation, w2kServer, w2kServer, nt4Server, w2kPro}},
        {8, {"CORPDC", "MAIL", "SPS2K", "SPSDOWN", "SPSNT4"}, {w2kServer, w2kServer, w2kServer, w2kServer, nt4Server}},
        {9, {"LOCALPC", "NTWKS", "XPWKS"}, {w2kPro, nt4Workstation, w2kPro}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("ServerType " + std::to_string(c.serverType));
        com::Variant labels, count;
        const com::Value names = shares.call("GetServers", "CORP", c.serverType, Out(labels), Out(count));
        EXPECT_EQ(Strings(names), c.names);
        EXPECT_EQ(Strings(labels), c.labels);
        EXPECT_EQ(count.toInt32(), int(c.names.size()));
    }
}

TEST_F(BrowsingTest, GetServersOfTheLocalDomainOfAnEmptyDomainAndOfUnknownOnes)
{
    com::Variant labels, count;
    EXPECT_EQ(Strings(shares.call("GetServers", "", 3, Out(labels), Out(count))), std::vector<std::string>{"SPSNT4"});

    com::Variant untouchedLabels("labels"), untouchedCount("count");
    EXPECT_TRUE(shares.call("GetServers", "EMPTYDOM", 6, Out(untouchedLabels), Out(untouchedCount)).isEmpty());
    EXPECT_EQ(untouchedLabels.toString() + untouchedCount.toString(), "labelscount");

    EXPECT_EQ(Failure([&] { shares.call("GetServers", "NOWHERE", 6, Out(labels), Out(count)); }),
              NetError(6118, "The list of servers for this workgroup is not currently available"));
    EXPECT_EQ(Failure([&] { shares.call("GetServers", "CORP", 10, Out(labels), Out(count)); }),
              NetError(87, "The parameter is incorrect."));
}

TEST_F(BrowsingTest, GetSPServersListsOnlyReachableWindows2000ServersRunningTheStore)
{
    com::Variant count;
    EXPECT_EQ(Strings(shares.call("GetSPServers", "CORP", Out(count))), std::vector<std::string>{"SPS2K"});
    EXPECT_EQ(count.type(), com::VT_I4);
    EXPECT_EQ(count.toInt32(), 1);

    com::Variant none;
    EXPECT_EQ(Strings(shares.call("GetSPServers", "PARTNER", Out(none))), std::vector<std::string>{});
    EXPECT_EQ(none.toInt32(), 0);

    com::Variant untouched("before");
    EXPECT_TRUE(shares.call("GetSPServers", "EMPTYDOM", Out(untouched)).isEmpty());
    EXPECT_EQ(untouched.toString(), "before");

    com::Variant exchangeCount;
    EXPECT_EQ(Strings(shares.call("GetExchangeServers", "CORP", Out(exchangeCount))), std::vector<std::string>{"MAIL"});
    EXPECT_EQ(exchangeCount.toInt32(), 1);
}

TEST_F(BrowsingTest, IsSPServerAndIsExchServerAnswerOneOrZeroAndFailWhenTheServerCannotBeReached)
{
    const struct {
        const char* member;
        const char* server;
        int answer;
    } cases[] = {
        {"IsSPServer", "SPS2K", 1}, {"IsSPServer", "\\\\SPS2K", 1}, {"IsSPServer", "MAIL", 0},
        {"IsExchServer", "MAIL", 1}, {"IsExchServer", "SPS2K", 0},
    };
    for (const auto& c : cases) {
        const com::Value answer = shares.call(c.member, c.server);
        EXPECT_EQ(answer.type(), com::VT_I4);
        EXPECT_EQ(answer.toInt32(), c.answer) << c.member << " " << c.server;
    }
    EXPECT_EQ(Failure([&] { shares.call("IsSPServer", "SPSDOWN"); }), NetError(53, BadNetPath));
    EXPECT_EQ(Failure([&] { shares.call("IsExchServer", "NOSUCHHOST"); }), NetError(53, BadNetPath));
    EXPECT_EQ(Failure([&] { shares.call("IsSPServer", "bad:name"); }), NetError(2351, "This Computer Name is Invalid"));

    const auto error = com::GetErrorInfo();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->source, "Netperm.CSPShares.1");
    EXPECT_EQ(error->iid, com::GuidLiteral("{CB08069E-9948-11D5-98A0-0050BAD8F573}"));
}

TEST_F(BrowsingTest, GetSharesListsHiddenSharesAndGetSharesExOnlyWhatBrowsingShows)
{
    const net::HostInfo host = *net::FindHost("SPS2K");
    WriteDriveFile("SPS2K", "Shares/readme.txt", "hello");
    net::SaveShare(host, {"Public", net::STYPE_DISKTREE, "for all", "C:\\Shares"});
    net::SaveShare(host, {"Hidden$", net::STYPE_DISKTREE, "", "C:\\Hidden"});
    net::SaveShare(host, {"Printer", net::STYPE_PRINTQ, "", ""});

    com::Variant names;
    const com::Value count = shares.call("GetShares", "SPS2K", Out(names));
    EXPECT_EQ(Strings(names), (std::vector<std::string>{"Public", "Hidden$", "Printer", "C$", "IPC$"}));
    EXPECT_EQ(count.type(), com::VT_I4);
    EXPECT_EQ(count.toInt32(), 5);

    for (const char* server : {"SPS2K", "\\\\SPS2K"}) {
        com::Variant browsed, browsedCount;
        const com::Object permissions = shares.call("GetSharesEx", server, Out(browsed), Out(browsedCount));
        EXPECT_EQ(Strings(browsed), (std::vector<std::string>{"Public", "Printer"})) << server;
        EXPECT_EQ(browsedCount.toInt32(), 2);
        com::Variant permissionCount;
        EXPECT_EQ(Strings(permissions.call("GetSharePermissions", "SPS2K", "Public", Out(permissionCount))),
                  std::vector<std::string>{"Everyone @\\@ FullControl"});
    }

    com::Variant browsed("before"), browsedCount;
    EXPECT_EQ(Failure([&] { shares.call("GetSharesEx", "NOSUCHHOST", Out(browsed), Out(browsedCount)); }),
              NetError(53, BadNetPath));
    EXPECT_EQ(browsed.toString(), "before");
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(BrowsingTest, GetServerNameLooksUpDottedAddressesOnly)
{
    SetRecord("SPS2K", "", {"10.0.0.7", "192.168.1.7"});
    EXPECT_EQ(shares.call("GetServerName", "192.168.1.7").toString(), "SPS2K");
    EXPECT_EQ(shares.call("GetServerName", "anything").toString(), "anything");
    for (const char* unknown : {"10.0.0.99", "10.0.0.x"})
        EXPECT_EQ(Failure([&] { shares.call("GetServerName", unknown); }), NetError(11001, "No such host is known."))
            << unknown;
}

TEST_F(BrowsingTest, GetOSTypeAlwaysAnswersAndGivesTheComment)
{
    AddHost("XPSRV", "CORP", "server", "5.1");
    SetRecord("SPS2K", "Document server", {});
    const struct {
        const char* server;
        int osType;
    } cases[] = {{"WIN98", 0}, {"NTWKS", 1}, {"SPSNT4", 2}, {"LOCALPC", 3}, {"SPS2K", 4},
                 {"XPWKS", 5}, {"XPSRV", 6}, {"CORPDC", 4}, {"VISTA", -1}};
    for (const auto& c : cases) {
        com::Variant comment;
        const com::Value osType = shares.call("GetOSType", c.server, Out(comment));
        EXPECT_EQ(osType.type(), com::VT_I4);
        EXPECT_EQ(osType.toInt32(), c.osType) << c.server;
        EXPECT_EQ(comment.type(), com::VT_BSTR);
    }
    com::Variant comment;
    shares.call("GetOSType", "SPS2K", Out(comment));
    EXPECT_EQ(comment.toString(), "Document server");
    EXPECT_EQ(Failure([&] { shares.call("GetOSType", "SPSDOWN", Out(comment)); }), NetError(53, BadNetPath));
}

} // namespace
