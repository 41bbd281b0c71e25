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

TEST_F(PermissionsTest, UnreadableDaclsAndOverlongSharePaths)
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

// An entry whose text would exceed 360 characters (a 120-character machine
// name and a 250-character account) is left out by each member, as an entry
// whose account cannot be looked up is; one of exactly 360 is listed whole.
TEST_F(PermissionsTest, AnOverlongEntryIsLeftOutAndTheOthersAreListed)
{
    const std::string longHost(120, 'H');
    AddHost(longHost, "CORP", "server", "5.0");
    AddAccount(longHost, std::string(250, 'u'), net::AccountKind::User);
    AddAccount(longHost, std::string(230, 'a'), net::AccountKind::User);
    const std::string exactly360 = longHost + "\\" + std::string(230, 'a') + " @\\@ Read";
    ASSERT_EQ(exactly360.size(), 360u);
    const net::SecurityDescriptor acl{std::vector<net::Ace>{
        {AceType::Allow, 0x1200A9, Sid("Everyone")},
        {AceType::Allow, 0x1200A9, Sid(longHost + "\\" + std::string(250, 'u'))},
        {AceType::Deny, 0x1F01FF, Sid("CORP\\bob")},
        {AceType::Deny, 0x1200A9, Sid(exactly360.substr(0, 351))},
        {AceType::Allow, 0x1301BF, Sid("CORP\\anna")},
    }};
    net::WriteFileSecurity(Plan, acl);
    net::WriteShareSecurity("\\\\SPS2K\\Docs", acl);

    // Each member's counts, then its lists.
    struct Listed {
        std::vector<int> counts;
        std::vector<Texts> lists;
        bool operator==(const Listed&) const = default;
    };
    const auto listed = [](std::vector<com::Variant*> counts, std::vector<com::Variant*> lists) {
        Listed result;
        for (const com::Variant* count : counts) result.counts.push_back(count->toInt32());
        for (const com::Variant* list : lists) result.lists.push_back(Strings(*list));
        return result;
    };
    const Texts fileEntries{"Everyone @\\@ Read", "<empty>", "CORP\\bob @\\@ No Access", exactly360,
                            "CORP\\anna @\\@ Change"};
    struct Case {
        const char* member;
        std::function<Listed()> read;
        Listed expected;
    } cases[] = {
        {"GetFilePermissions",
         [&] {
             com::Variant count, types;
             com::Variant entries = filePerm.call("GetFilePermissions", "\\\\SPS2K\\Docs", "plan.doc", Out(count), Out(types));
             return listed({&count}, {&entries, &types});
         },
         {{5}, {fileEntries, {"1", "<empty>", "0", "0", "0"}}}},
        {"GetSharePermissions",
         [&] {
             com::Variant count;
             com::Variant entries = sharePerm.call("GetSharePermissions", "SPS2K", "Docs", Out(count));
             return listed({&count}, {&entries});
         },
         {{5}, {fileEntries}}},
        {"GetObjectPermissions",
         [&] {
             com::Variant allowCount, denyCount, allow, deny;
             EXPECT_EQ(filePerm.call("GetObjectPermissions", 1, Plan, Out(allowCount), Out(denyCount), Out(allow), Out(deny))
                           .toInt32(),
                       1);
             EXPECT_FALSE(com::GetErrorInfo()) << "no error information";
             return listed({&allowCount, &denyCount}, {&allow, &deny});
         },
         {{2, 2},
          {{"Everyone @\\@ Read", "CORP\\anna @\\@ Change", "<empty>", "<empty>", "<empty>"},
           {"CORP\\bob @\\@ Full Control", exactly360, "<empty>", "<empty>", "<empty>"}}}},
        {"GetObjectPermissionsEx",
         [&] {
             com::Variant counts[4], lists[4];
             EXPECT_EQ(filePerm
                           .call("GetObjectPermissionsEx", "SPS2K", "SPSDOWN", 1, Plan, Out(counts[0]), Out(counts[1]),
                                 Out(lists[0]), Out(lists[1]), Out(counts[2]), Out(counts[3]), Out(lists[2]), Out(lists[3]))
                           .toInt32(),
                       1);
             return listed({&counts[0], &counts[1], &counts[2], &counts[3]}, {&lists[0], &lists[1], &lists[2], &lists[3]});
         },
         {{2, 2, 0, 0},
          {{"Everyone @\\@ Read", "CORP\\anna @\\@ Change"}, {"CORP\\bob @\\@ Full Control", exactly360}, {}, {}}}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.member);
        com::SetErrorInfo(std::nullopt);
        Listed read;
        EXPECT_EQ(Failure([&] { read = test.read(); }), std::make_pair(com::S_OK, std::string("no error")));
        EXPECT_EQ(read.counts, test.expected.counts);
        EXPECT_EQ(read.lists, test.expected.lists);
    }
}

// Through IDispatch::Invoke itself, as any automation client calls: a DACL
// that cannot be read answers 0 with S_FALSE and leaves the out arguments as
// they were; a readable one answers 1 with S_OK.
TEST_F(PermissionsTest, AnUnreadableDaclAnswersZeroWithSFalse)
{
    struct Case {
        const char* member;
        std::string path;
        com::HRESULT answer;
        std::int32_t value;
        bool errorInformation; // GetObjectPermissionsEx reports the failed read
    } cases[] = {
        {"GetObjectPermissions", Plan, com::S_OK, 1, false},
        {"GetObjectPermissions", "\\\\SPS2K\\Docs\\nothing.doc", com::S_FALSE, 0, false},
        {"GetObjectPermissionsEx", Plan, com::S_OK, 1, false},
        {"GetObjectPermissionsEx", "\\\\SPS2K\\Docs\\nothing.doc", com::S_FALSE, 0, true},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.member) + " " + test.path);
        const bool ex = std::string(test.member) == "GetObjectPermissionsEx";
        std::vector<com::Variant> outs(ex ? 8 : 4, com::Variant("before"));
        std::vector<com::Variant> args;
        if (ex) args = {"SPS2K", "XPWKS"};
        args.insert(args.end(), {std::int32_t(1), test.path});
        for (com::Variant& out : outs) args.push_back(Out(out));

        com::DISPID id = 0;
        ASSERT_EQ(filePerm.dispatch()->GetIDsOfNames(test.member, &id), com::S_OK);
        com::SetErrorInfo(std::nullopt);
        com::Variant result;
        com::ExcepInfo exception;
        EXPECT_EQ(filePerm.dispatch()->Invoke(id, com::DISPATCH_METHOD, args, &result, &exception, nullptr), test.answer);
        EXPECT_EQ(result.type(), com::VT_I4);
        EXPECT_EQ(result.toInt32(), test.value);
        EXPECT_EQ(outs[0].toString() == "before", test.answer == com::S_FALSE) << outs[0].toString();
        EXPECT_EQ(bool(com::GetErrorInfo()), test.errorInformation);
    }
}

} // namespace
