// The permissions of shares, files and folders, called by member name on the
// two permission classes.

#include "netperm_fixture.h"

#include "platform/net/domains.h"
#include "platform/net/security.h"
#include "platform/net/shares.h"

using namespace netperm_testing;

namespace {

using net::AceType;
using Texts = std::vector<std::string>;

const std::string Missing = "Everyone @\\@ FullControl";
const std::string Plan = "\\\\SPS2K\\Docs\\plan.doc";

class PermissionsTest : public NetpermTest {
protected:
    void SetUp() override
    {
        NetpermTest::SetUp();
        net::SaveShare(*net::FindHost("SPS2K"), {"Docs", net::STYPE_DISKTREE, "", "C:\\Docs"});
        WriteDriveFile("SPS2K", "Docs/plan.doc", "plan");
        WriteDriveFile("SPS2K", "Docs/Sub/note.txt", "note");
        net::WriteFileSecurity(Plan, {std::vector<net::Ace>{
                                         {AceType::Allow, 0x1200A9, Sid("Everyone")},
                                         {AceType::Allow, 0x1301BF, Sid("CORP\\anna")},
                                         {AceType::Deny, 0x1F01FF, Sid("CORP\\bob")},
                                         {AceType::Allow, 0x1F01FF, Sid("CORP\\Sales")},
                                         {AceType::Deny, 0x1200A9, "S-1-5-21-1-2-3-4242"},
                                         {AceType::Allow, 0x50000, Sid("CORP\\Editors")},
                                         {AceType::Allow, 0x1, Sid("PARTNER\\paul")},
                                         {AceType::Deny, 0x120089, Sid("CORP\\WKS1$")},
                                     }});
        filePerm = com::CreateObject("Netperm.CSPFilePerm.1");
        sharePerm = com::CreateObject("Netperm.CSPSharePerm.1");
    }

    // The four lists of GetObjectPermissionsEx for plan.doc copied from the
    // source server to the destination server.
    std::vector<Texts> SplitFor(const std::string& source, const std::string& destination)
    {
        com::Variant counts[4], lists[4];
        const com::Value read = filePerm.call("GetObjectPermissionsEx", source, destination, 1, Plan, Out(counts[0]),
                                              Out(counts[1]), Out(lists[0]), Out(lists[1]), Out(counts[2]),
                                              Out(counts[3]), Out(lists[2]), Out(lists[3]));
        EXPECT_EQ(read.toInt32(), 1);
        std::vector<Texts> split;
        for (int i = 0; i < 4; ++i) {
            split.push_back(Strings(lists[i]));
            EXPECT_EQ(counts[i].toInt32(), int(split.back().size()));
        }
        return split;
    }

    com::Object filePerm;
    com::Object sharePerm;
};

TEST_F(PermissionsTest, GetFilePermissionsGivesEveryEntryWithItsRightAndAccountType)
{
    com::Variant count, types;
    const com::Value entries = filePerm.call("GetFilePermissions", "\\\\SPS2K\\Docs", "plan.doc", Out(count), Out(types));
    EXPECT_EQ(Strings(entries), (Texts{"Everyone @\\@ Read", "CORP\\anna @\\@ Change", "CORP\\bob @\\@ No Access",
                                       "CORP\\Sales @\\@ Full Control", "<empty>",
                                       "CORP\\Editors @\\@ Special Access (DP)", "PARTNER\\paul @\\@ Special Access ",
                                       "CORP\\WKS1$ @\\@ Special Access (R)"}));
    EXPECT_EQ(count.toInt32(), 8);
    ASSERT_TRUE(types.isArray());
    std::vector<int> accountTypes;
    for (const com::Variant& type : types.array().elements) {
        if (!type.isEmpty()) {
            EXPECT_EQ(type.type(), com::VT_I2);
        }
        accountTypes.push_back(type.isEmpty() ? -1 : type.toInt32());
    }
    EXPECT_EQ(accountTypes, (std::vector<int>{1, 0, 0, 1, -1, 1, 0, 2}));
}

TEST_F(PermissionsTest, GetObjectPermissionsSplitsAllowedAndDeniedWithoutNoAccess)
{
    com::Variant allowCount, denyCount, allow, deny;
    const com::Value read =
        filePerm.call("GetObjectPermissions", 1, Plan, Out(allowCount), Out(denyCount), Out(allow), Out(deny));
    EXPECT_EQ(read.type(), com::VT_I4);
    EXPECT_EQ(read.toInt32(), 1);
    EXPECT_EQ(Strings(allow), (Texts{"Everyone @\\@ Read", "CORP\\anna @\\@ Change", "CORP\\Sales @\\@ Full Control",
                                     "CORP\\Editors @\\@ Special Access (DP)", "PARTNER\\paul @\\@ Special Access ",
                                     "<empty>", "<empty>", "<empty>"}));
    EXPECT_EQ(Strings(deny), (Texts{"CORP\\bob @\\@ Full Control", "CORP\\WKS1$ @\\@ Special Access (R)", "<empty>",
                                    "<empty>", "<empty>", "<empty>", "<empty>", "<empty>"}));
    EXPECT_EQ(allowCount.toInt32(), 5);
    EXPECT_EQ(denyCount.toInt32(), 2);
}

TEST_F(PermissionsTest, AMissingDaclAndAnEmptyOneAsEachMemberGivesThem)
{
    net::WriteShareSecurity("\\\\SPS2K\\Docs", {std::vector<net::Ace>{}});
    const std::string sub = "\\\\SPS2K\\Docs\\Sub";

    com::Variant count, types;
    EXPECT_EQ(Strings(filePerm.call("GetFilePermissions", "\\\\SPS2K\\Docs", "Sub", Out(count), Out(types))), Texts{Missing});
    EXPECT_EQ(count.toInt32(), 1);
    EXPECT_EQ(types.array().elements.at(0), com::Variant(std::int16_t(1)));
    for (const char* server : {"SPS2K", "\\\\SPS2K"}) {
        EXPECT_EQ(Strings(sharePerm.call("GetSharePermissions", server, "Docs", Out(count), Out(types))), Texts{});
        EXPECT_EQ(count.toInt32(), 0);
    }
    EXPECT_EQ(Strings(sharePerm.call("GetSharePermissions", "SPS2K", "C$", Out(count))), Texts{Missing})
        << "the account types are optional";

    com::Variant allowCount, denyCount, allow, deny;
    filePerm.call("GetObjectPermissions", 1, sub, Out(allowCount), Out(denyCount), Out(allow), Out(deny));
    EXPECT_EQ(Strings(allow), Texts{Missing});
    EXPECT_EQ(Strings(deny), Texts{Missing});
    EXPECT_EQ(allowCount.toInt32() + denyCount.toInt32(), 2);
    filePerm.call("GetObjectPermissions", 0, "\\\\SPS2K\\Docs", Out(allowCount), Out(denyCount), Out(allow), Out(deny));
    EXPECT_EQ(Strings(allow), Texts{});
    EXPECT_EQ(allowCount.toInt32() + denyCount.toInt32(), 0);

    com::Variant counts[4], lists[4];
    filePerm.call("GetObjectPermissionsEx", "SPS2K", "XPWKS", 1, sub, Out(counts[0]), Out(counts[1]), Out(lists[0]),
                  Out(lists[1]), Out(counts[2]), Out(counts[3]), Out(lists[2]), Out(lists[3]));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Strings(lists[i]), Texts{""});
        EXPECT_EQ(counts[i].toInt32(), 1);
    }
}

TEST_F(PermissionsTest, GetObjectPermissionsExSplitsByWhatTheDestinationCanResolve)
{
    const Texts validAllow{"Everyone @\\@ Read", "CORP\\anna @\\@ Change", "CORP\\Sales @\\@ Full Control",
                           "PARTNER\\paul @\\@ Special Access "};
    const Texts deny{"CORP\\bob @\\@ Full Control", "CORP\\WKS1$ @\\@ Special Access (R)"};
    const Texts editors{"CORP\\Editors @\\@ Special Access (DP)"};
    const Texts allAllowed{"Everyone @\\@ Read", "CORP\\anna @\\@ Change", "CORP\\Sales @\\@ Full Control",
                           "CORP\\Editors @\\@ Special Access (DP)", "PARTNER\\paul @\\@ Special Access "};

    // In one domain: the source controller's local groups are invalid, the
    // trusted domain's accounts valid.
    EXPECT_EQ(SplitFor("SPS2K", "XPWKS"), (std::vector<Texts>{validAllow, deny, editors, {}}));

    // A destination domain that trusts only another domain still resolves
    // its own accounts, and Everyone.
    net::SaveDomain({"PARTNER", {"ELSEWHERE"}});
    EXPECT_EQ(SplitFor("SPS2K", "PARTNERDC"), (std::vector<Texts>{validAllow, deny, editors, {}}));
    // An account of a domain the destination does not trust is invalid.
    net::SaveDomain({"CORP", {"ELSEWHERE"}});
    EXPECT_EQ(SplitFor("SPS2K", "XPWKS")[2], (Texts{editors[0], "PARTNER\\paul @\\@ Special Access "}));
    net::SaveDomain({"CORP", {"PARTNER"}});

    // Domain names compare without regard to case.
    net::HostInfo source = *net::FindHost("SPS2K");
    source.domain = "corp";
    net::SaveHost(source);
    EXPECT_EQ(SplitFor("SPS2K", "XPWKS"), (std::vector<Texts>{validAllow, deny, editors, {}}));

    // Without the destination's controller, or with a destination domain that
    // trusts nothing, every entry is valid; the unreachable destination is
    // reported through the error object, not as a failure.
    EXPECT_EQ(SplitFor("SPS2K", "SPSDOWN"), (std::vector<Texts>{allAllowed, deny, {}, {}}));
    const auto error = com::GetErrorInfo();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->description, "The network path was not found.");
    net::SaveDomain({"PARTNER", {}});
    EXPECT_EQ(SplitFor("SPS2K", "PARTNERDC"), (std::vector<Texts>{allAllowed, deny, {}, {}}));
}

TEST_F(PermissionsTest, UnreadableDaclsAndOverlongNames)
{
    com::Variant count, types;
    EXPECT_EQ(Failure([&] { sharePerm.call("GetSharePermissions", "SPS2K", "NoShare", Out(count), Out(types)); }),
              NetError(2310, "This shared resource does not exist."));
    const auto error = com::GetErrorInfo();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->source, "Netperm.CSPShares.1") << "every class reports as CSPShares";
    EXPECT_EQ(Failure([&] { filePerm.call("GetFilePermissions", "\\\\SPS2K\\Docs", "nothing.doc", Out(count)); }),
              NetError(2, "The system cannot find the file specified."));
    EXPECT_EQ(Failure([&] { sharePerm.call("GetSharePermissions", "SPS2K", std::string(250, 'x'), Out(count)); }),
              NetError(87, "The parameter is incorrect."));

    const std::string longHost(120, 'H');
    AddHost(longHost, "CORP", "server", "5.0");
    AddAccount(longHost, std::string(250, 'u'), net::AccountKind::User);
    net::WriteFileSecurity(Plan, {std::vector<net::Ace>{{AceType::Allow, 0x1200A9, Sid(longHost + "\\" + std::string(250, 'u'))}}});
    EXPECT_EQ(Failure([&] { filePerm.call("GetFilePermissions", "\\\\SPS2K\\Docs", "plan.doc", Out(count)); }),
              NetError(87, "The parameter is incorrect."));

    com::Variant allowCount("before"), denyCount, allow, deny;
    const com::Value notRead = filePerm.call("GetObjectPermissions", 1, "\\\\SPS2K\\Docs\\nothing.doc", Out(allowCount),
                                             Out(denyCount), Out(allow), Out(deny));
    EXPECT_EQ(notRead.type(), com::VT_I4);
    EXPECT_EQ(notRead.toInt32(), 0);
    EXPECT_EQ(allowCount.toString(), "before");

    com::SetErrorInfo(std::nullopt);
    com::Variant counts[4], lists[4];
    EXPECT_EQ(filePerm
                  .call("GetObjectPermissionsEx", "SPS2K", "XPWKS", 0, "\\\\SPS2K\\NoShare", Out(counts[0]),
                        Out(counts[1]), Out(lists[0]), Out(lists[1]), Out(counts[2]), Out(counts[3]), Out(lists[2]),
                        Out(lists[3]))
                  .toInt32(),
              0);
    ASSERT_TRUE(com::GetErrorInfo());
}

} // namespace
