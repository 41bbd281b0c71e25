#include "vornik_fixture.h"

using namespace vornik_testing;
using com::Object;
using com::Variant;

namespace {

constexpr std::int32_t Key = 1, Value = 2, Data = 4;

struct SearchResult {
    std::string fullKeyPath, valueName, data, keyName;
};

class SearchTest : public VornikTest {
protected:
    void SetUp() override
    {
        VornikTest::SetUp();
        // Depth first, "Alpha" (created first) is searched before "Beta".
        WriteMachineValue("", "SOFTWARE\\SearchRoot\\Alpha\\Deeper\\FindMeDeep", "plain", winreg::REG_SZ, TextBytes("x"));
        WriteMachineValue("", "SOFTWARE\\SearchRoot\\Beta\\FindMeShallow", "plain", winreg::REG_SZ, TextBytes("x"));
        WriteMachineValue("", "SOFTWARE\\SearchRoot\\Gamma", "TargetName", winreg::REG_SZ, TextBytes("ordinary"));
        WriteMachineValue("", "SOFTWARE\\SearchRoot\\Gamma", "carrier", winreg::REG_SZ,
                          TextBytes(std::string_view("has NeedleText inside\0tail", 26)));
        WriteMachineValue("", "SOFTWARE\\SearchRoot\\Gamma", "binary", winreg::REG_BINARY, {0x01, 'Z', 'q', 'X', 0x00});
        WriteMachineValue("", "SOFTWARE\\SearchRoot\\Gamma", std::string(1024, 'w') , winreg::REG_SZ, TextBytes("y"));

        com::RegistryHandle users;
        EXPECT_EQ(winreg::CreateKey(winreg::HKEY_USERS, "S-1-5-21\\Software\\OnlyUnderUsers", false, users.receive()),
                  winreg::ERROR_SUCCESS);
    }

    SearchResult search(const std::string& text, std::int32_t type)
    {
        Variant fullKeyPath, valueName, data;
        Object key = registry.call("SearchRegistry", text, type, Variant::ByRef(&fullKeyPath),
                                   Variant::ByRef(&valueName), Variant::ByRef(&data));
        EXPECT_EQ(fullKeyPath.type(), com::VT_BSTR);
        return {fullKeyPath.toString(), valueName.toString(), data.toString(), key.get("Name").toString()};
    }

    std::pair<com::HRESULT, std::string> searchFailure(const std::string& text, std::int32_t type)
    {
        Variant a, b, c;
        return Failure([&] {
            registry.call("SearchRegistry", text, type, Variant::ByRef(&a), Variant::ByRef(&b), Variant::ByRef(&c));
        });
    }
};

const auto NotFound = std::make_pair(com::MakeHResult(0x80040207), std::string("The Search Data could not be found"));

} // namespace

TEST_F(SearchTest, FindsTheFirstKeyDepthFirstWithoutRegardToCase)
{
    const auto hit = search("findme", Key);
    EXPECT_EQ(hit.fullKeyPath, "HKEY_LOCAL_MACHINE\\SOFTWARE\\SearchRoot\\Alpha\\Deeper\\FindMeDeep");
    EXPECT_EQ(hit.valueName, "");
    EXPECT_EQ(hit.data, "");
    EXPECT_EQ(hit.keyName, "SOFTWARE\\SearchRoot\\Alpha\\Deeper\\FindMeDeep") << "the result is a key on the hit";
}

TEST_F(SearchTest, SearchesTheMachineHiveBeforeTheUsersHive)
{
    const auto hit = search("ONLYUNDERUSERS", Key);
    EXPECT_EQ(hit.fullKeyPath, "HKEY_USERS\\S-1-5-21\\Software\\OnlyUnderUsers");

    WriteMachineValue("", "SOFTWARE\\Later\\OnlyUnderUsersToo", "v", winreg::REG_SZ, TextBytes("x"));
    EXPECT_EQ(search("OnlyUnderUsers", Key).fullKeyPath, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Later\\OnlyUnderUsersToo");
}

TEST_F(SearchTest, MatchesValueNamesAndValueData)
{
    auto hit = search("targetname", Value);
    EXPECT_EQ(hit.fullKeyPath, "HKEY_LOCAL_MACHINE\\SOFTWARE\\SearchRoot\\Gamma");
    EXPECT_EQ(hit.valueName, "TargetName");
    EXPECT_EQ(hit.data, "") << "no data for a value-name hit";

    hit = search("needletext", Data);
    EXPECT_EQ(hit.valueName, "carrier");
    EXPECT_EQ(hit.data, "has NeedleText inside") << "data up to its first zero";

    EXPECT_EQ(search("zQx", Data).valueName, "binary");
    EXPECT_EQ(search("needletext", Key | Value | Data).valueName, "carrier");
    EXPECT_EQ(searchFailure("needletext", Key | Value), NotFound) << "data is not searched unless asked";
    EXPECT_EQ(searchFailure("TargetName", Data), NotFound);
}

TEST_F(SearchTest, KeepsToItsLimits)
{
    EXPECT_EQ(searchFailure(std::string(1025, 'a'), Key),
              std::make_pair(com::MakeHResult(0x80040206),
                             std::string("The Search String parameter exceeds the maximum length")));
    EXPECT_EQ(searchFailure(std::string(1024, 'w'), Value), NotFound) << "names of 1024 bytes are not matched";
    EXPECT_EQ(searchFailure("", Key | Value | Data), NotFound);
    EXPECT_EQ(searchFailure("nothing like this anywhere", Key | Value | Data), NotFound);

    registry.put("ComputerName", "NOSUCHHOST");
    EXPECT_EQ(searchFailure("findme", Key), NotFound);
}

TEST_F(SearchTest, SearchesAnotherMachine)
{
    WriteMachineValue("SRV1", "SOFTWARE\\OnTheServer", "v", winreg::REG_SZ, TextBytes("x"));
    EXPECT_EQ(searchFailure("OnTheServer", Key), NotFound);
    registry.put("ComputerName", "SRV1");
    EXPECT_EQ(search("ontheserver", Key).fullKeyPath, "HKEY_LOCAL_MACHINE\\SOFTWARE\\OnTheServer");
}
