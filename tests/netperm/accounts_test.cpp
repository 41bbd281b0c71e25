// Users, groups and their members, domains and IPC sessions, called by
// member name.

#include "netperm_fixture.h"

#include "platform/net/shares.h"

using namespace netperm_testing;

namespace {

const auto NoController = NetError(6118, "The list of servers for this workgroup is not currently available");
constexpr int SERVER = 0;
constexpr int DOMAIN = 1;

class AccountsTest : public NetpermTest {};

TEST_F(AccountsTest, GetUsersListsNormalAccountsOfAComputerOrADomain)
{
    for (const auto& [name, nameType] : {std::pair<std::string, int>{"CORPDC", SERVER}, {"corp", DOMAIN}}) {
        com::Variant count, fullNames, comments;
        const com::Value users = shares.call("GetUsers", name, nameType, Out(count), Out(fullNames), Out(comments));
        EXPECT_EQ(Strings(users), (std::vector<std::string>{"anna", "bob"})) << name;
        EXPECT_EQ(Strings(fullNames), (std::vector<std::string>{"Anna Berg", "Bob Stone"}));
        EXPECT_EQ(Strings(comments), (std::vector<std::string>{"Sales", ""}));
        EXPECT_EQ(count.toInt32(), 2);
    }
    com::Variant count, fullNames, comments;
    EXPECT_EQ(Strings(shares.call("GetUsers", "CORPDC", com::Variant::Missing(), Out(count), Out(fullNames),
                                  Out(comments))),
              (std::vector<std::string>{"anna", "bob"}))
        << "the name type is optional";
    EXPECT_EQ(Failure([&] { shares.call("GetUsers", "NOWHERE", DOMAIN, Out(count), Out(fullNames), Out(comments)); }),
              NoController);
}

TEST_F(AccountsTest, GetGroupsListsLocalGroupsAndOnAControllerTheGlobalOnes)
{
    AddAccount("SPS2K", "Administrators", net::AccountKind::LocalGroup, {"CORP\\Domain Users"});
    const struct {
        const char* name;
        int nameType;
        std::vector<std::string> groups;
        std::vector<int> types;
    } cases[] = {
        {"CORPDC", SERVER, {"Administrators", "Editors", "Domain Users", "Sales"}, {0, 0, 1, 1}},
        {"CORP", DOMAIN, {"Administrators", "Editors", "Domain Users", "Sales"}, {0, 0, 1, 1}},
        {"SPS2K", SERVER, {"Administrators"}, {0}},
    };
    for (const auto& c : cases) {
        com::Variant count, types;
        EXPECT_EQ(Strings(shares.call("GetGroups", c.name, c.nameType, Out(count), Out(types))), c.groups) << c.name;
        EXPECT_EQ(count.toInt32(), int(c.groups.size()));
        std::vector<int> typeNumbers;
        for (const com::Variant& type : types.array().elements) {
            EXPECT_EQ(type.type(), com::VT_I4);
            typeNumbers.push_back(type.toInt32());
        }
        EXPECT_EQ(typeNumbers, c.types);
    }
}

TEST_F(AccountsTest, GetUsersInGroupLeavesOutMachineAccountsAndUnknownMembersAndCutsNoName)
{
    const std::string longName = "a-user-name-much-longer-than-twenty-five";
    AddAccount("CORPDC", longName, net::AccountKind::User);
    AddAccount("CORPDC", "Editors", net::AccountKind::LocalGroup,
               {"CORP\\anna", "PARTNER\\paul", "Everyone", "S-1-5-21-1-2-3-4242", "CORP\\" + longName});

    com::Variant count;
    EXPECT_EQ(Strings(shares.call("GetUsersInGroup", "CORPDC", SERVER, "Domain Users", 1, Out(count))),
              (std::vector<std::string>{"anna", "bob"}));
    EXPECT_EQ(count.toInt32(), 2);
    EXPECT_EQ(Strings(shares.call("GetUsersInGroup", "CORP", DOMAIN, "Editors", 0, Out(count))),
              (std::vector<std::string>{"CORP\\anna", "PARTNER\\paul", "Everyone", "CORP\\" + longName}));
    EXPECT_EQ(count.toInt32(), 4);

    EXPECT_EQ(Failure([&] { shares.call("GetUsersInGroup", "CORPDC", SERVER, "Editors", 1, Out(count)); }),
              NetError(2220, "The group name could not be found."));
    EXPECT_EQ(Failure([&] { shares.call("GetUsersInGroup", "CORPDC", SERVER, "Sales", 0, Out(count)); }),
              NetError(1376, "The specified local group does not exist."));
}

TEST_F(AccountsTest, IsValidDomainAnswersOneOrFailsWithTheDomainControllerError)
{
    const com::Value valid = shares.call("IsValidDomain", "PARTNER");
    EXPECT_EQ(valid.type(), com::VT_I4);
    EXPECT_EQ(valid.toInt32(), 1);
    for (const char* domain : {"EMPTYDOM", "NOWHERE", ""})
        EXPECT_EQ(Failure([&] { shares.call("IsValidDomain", domain); }), NoController) << domain;
}

TEST_F(AccountsTest, EstablishSessionActsOnEachResultOfTheConnection)
{
    const std::string closeConnections = "Please close the existing connections using windows explorer...";
    const struct {
        const char* scenario;
        std::vector<net::Connection> before;
        std::optional<std::string> promptAnswer;
        const char* name;
        int nameType;
        std::pair<com::HRESULT, std::string> outcome;
        std::vector<std::string> after; // the connections, "remote as user"
        bool messageShown;
        int disconnectDialogs;
    } cases[] = {
        {"a guest account lets anybody in", {}, std::nullopt, "SPS2K", SERVER, {com::S_OK, "no error"},
         {"\\\\SPS2K\\IPC$ as UserName"}, false, 0},
        {"a domain is reached on its controller, as the user the prompt names", {}, "bob", "CORP", DOMAIN,
         {com::S_OK, "no error"}, {"\\\\CORPDC\\IPC$ as bob"}, false, 0},
        {"the prompt cancelled", {}, std::nullopt, "CORPDC", SERVER,
         NetError(1223, "The operation was canceled by the user."), {}, false, 0},
        {"an account the host does not know", {}, "nobody", "CORPDC", SERVER,
         NetError(1326, "Logon failure: unknown user name or bad password."), {}, false, 0},
        {"a conflicting session is cancelled and made again", {{"\\\\SPS2K\\IPC$", "bob"}}, std::nullopt, "SPS2K",
         SERVER, {com::S_OK, "no error"}, {"\\\\SPS2K\\IPC$ as UserName"}, false, 0},
        {"a conflict that cancelling does not end", {{"\\\\SPS2K\\IPC$", "bob"}, {"\\\\SPS2K\\Public", "bob"}},
         std::nullopt, "SPS2K", SERVER, {com::S_OK, "no error"}, {"\\\\SPS2K\\Public as bob"}, true, 1},
        {"a conflict with another resource only", {{"\\\\SPS2K\\Public", "bob"}}, std::nullopt, "SPS2K", SERVER,
         {com::S_OK, "no error"}, {"\\\\SPS2K\\Public as bob"}, true, 0},
        {"a name that names no share", {}, std::nullopt, "SPS2K\\x", SERVER, {com::S_OK, "no error"}, {}, false, 0},
        {"an unknown host", {}, std::nullopt, "NOSUCHHOST", SERVER, NetError(53, "The network path was not found."),
         {}, false, 0},
        {"a domain without controller", {}, std::nullopt, "NOWHERE", DOMAIN, NoController, {}, false, 0},
    };
    AddAccount("SPS2K", "Guest", net::AccountKind::User);
    AddAccount("CORPDC", "bob", net::AccountKind::User);
    net::SaveShare(*net::FindHost("SPS2K"), {"Public", net::STYPE_DISKTREE, "", "C:\\Public"});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scenario);
        for (const net::Connection& connection : net::Connections()) net::CancelConnection(connection.remote);
        for (const net::Connection& connection : c.before)
            ASSERT_EQ(net::AddConnection(connection.remote, connection.user, false), 0);
        net::ScriptedSessionPrompts scripted;
        ui::ScriptedMessageBoxes messages;
        scripted.queueUserName(c.promptAnswer);

        EXPECT_EQ(Failure([&] { shares.call("EstablishSession", c.name, c.nameType); }), c.outcome);
        std::vector<std::string> after;
        for (const net::Connection& connection : net::Connections())
            after.push_back(connection.remote + " as " + connection.user);
        EXPECT_EQ(after, c.after);
        const std::vector<ui::ShownMessage> shown{{closeConnections, ui::vbInformation, "Quillon"}};
        EXPECT_EQ(messages.shown(), c.messageShown ? shown : std::vector<ui::ShownMessage>{});
        EXPECT_EQ(scripted.disconnectDialogs(), c.disconnectDialogs);
    }
}

} // namespace
