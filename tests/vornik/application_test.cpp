#include "vornik_fixture.h"

using namespace vornik_testing;
using com::Object;
using com::Variant;

namespace {

const std::string AppPaths = "software\\microsoft\\windows\\currentversion\\app paths\\";

class ApplicationTest : public VornikTest {
protected:
    void useApplication(const std::string& company, const std::string& app)
    {
        registry.put("CompanyName", company);
        registry.put("AppName", app);
    }
};

} // namespace

TEST_F(ApplicationTest, KeepsDataUnderTheApplicationKey)
{
    useApplication("Acme", "Tool");
    registry.call("SetAppNumData", "Count", 5);
    EXPECT_EQ(ReadMachineValue("Software\\Acme\\Tool", "Count"), std::make_pair(winreg::REG_DWORD, Bytes{5, 0, 0, 0}));
    EXPECT_EQ(registry.call("GetAppNumData", "count").toInt32(), 5);

    registry.call("SetAppStringData", "Text", "abc");
    EXPECT_EQ(ReadMachineValue("Software\\Acme\\Tool", "Text"), std::make_pair(winreg::REG_SZ, TextBytes("abc")));
    EXPECT_EQ(registry.call("GetAppStringData", "Text").toString(), "abc");

    registry.call("SetAppBinaryData", "Bytes", Variant(com::SafeArray{com::VT_VARIANT, 1, {std::int16_t(7), std::int16_t(8)}}));
    Variant bytes;
    EXPECT_TRUE(registry.call("GetAppBinaryData", "Bytes", Variant::ByRef(&bytes)).isEmpty()) << "given as out argument";
    EXPECT_EQ(bytes, Variant(com::SafeArray{com::VT_VARIANT, 0, {std::uint8_t(7), std::uint8_t(8)}}));

    registry.call("SetAppMultiStringData", "List", Variant::StringArray({"a", "b"}));
    registry.call("SetAppMultipleStringData", "Other", Variant(com::SafeArray{com::VT_VARIANT, 0, {"c"}}));
    Variant list;
    registry.call("GetAppMultiStringData", "List", Variant::ByRef(&list));
    EXPECT_EQ(list, Variant::StringArray({"a", "b"}));
    registry.call("GetAppMultiStringData", "Other", Variant::ByRef(&list));
    EXPECT_EQ(list, Variant::StringArray({"c"}));

    const auto arrayFailed = std::make_pair(com::MakeHResult(0x80040204), std::string("The array operation failed"));
    EXPECT_EQ(Failure([&] { registry.call("SetAppBinaryData", "Bytes", "no array"); }), arrayFailed);
    EXPECT_EQ(Failure([&] { registry.call("SetAppMultiStringData", "List", 3); }), arrayFailed);
    EXPECT_EQ(Failure([&] { registry.call("GetAppNumData", "Text"); }), RegistryError(winreg::ERROR_INVALID_PARAMETER));
    EXPECT_EQ(Failure([&] { registry.call("GetAppStringData", "None"); }), RegistryError(winreg::ERROR_FILE_NOT_FOUND));
}

TEST_F(ApplicationTest, EveryApplicationMemberNeedsBothNames)
{
    const std::vector<std::function<void()>> members = {
        [&] { registry.call("GetAppStringData", "x"); },
        [&] { registry.call("SetAppStringData", "x", "y"); },
        [&] { registry.call("GetAppNumData", "x"); },
        [&] { registry.call("SetAppNumData", "x", 1); },
        [&] { registry.call("SetAppBinaryData", "x", Variant(com::SafeArray{})); },
        [&] { Variant out; registry.call("GetAppBinaryData", "x", Variant::ByRef(&out)); },
        [&] { registry.call("SetAppMultiStringData", "x", Variant::StringArray({"a"})); },
        [&] { Variant out; registry.call("GetAppMultiStringData", "x", Variant::ByRef(&out)); },
        [&] { registry.call("CreateAppKey"); },
        [&] { registry.call("DeleteAppKey"); },
    };
    const auto expected =
        std::make_pair(com::MakeHResult(0x80040205), std::string("Either company name or product name is empty"));
    for (const auto& [company, app] : std::vector<std::pair<std::string, std::string>>{{"", "Tool"}, {"Acme", ""}}) {
        useApplication(company, app);
        for (std::size_t i = 0; i < members.size(); ++i)
            EXPECT_EQ(Failure(members[i]), expected) << "member " << i << " with company '" << company << "'";
    }
    EXPECT_FALSE(MachineKeyExists("Software\\Acme"));
}

TEST_F(ApplicationTest, DeletingTheLastApplicationOfACompanyDeletesTheCompany)
{
    useApplication("Acme", "Tool");
    Object appKey = registry.call("CreateAppKey");
    EXPECT_EQ(appKey.get("Name").toString(), "Software\\Acme\\Tool");
    useApplication("Acme", "Other");
    registry.call("CreateAppKey");

    registry.call("DeleteAppKey");
    EXPECT_FALSE(MachineKeyExists("Software\\Acme\\Other"));
    EXPECT_TRUE(MachineKeyExists("Software\\Acme\\Tool"));

    useApplication("Acme", "Tool");
    appKey = Object();
    registry.call("DeleteAppKey");
    EXPECT_FALSE(MachineKeyExists("Software\\Acme"));
    EXPECT_EQ(Failure([&] { registry.call("DeleteAppKey"); }), RegistryError(winreg::ERROR_FILE_NOT_FOUND));
}

TEST_F(ApplicationTest, AppPathsNamesGainExeUnlessTheyHaveIt)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"notepad", "notepad.exe"},
        {"tool.EXE", "tool.EXE.exe"},
        {"tool.exe", "tool.exe"},
        {"setup.exe.old", "setup.exe.old"},
    };
    for (const auto& [name, keyName] : cases) {
        registry.call("SetAppPath", name, "C:\\Apps\\" + name);
        EXPECT_EQ(ReadMachineValue(AppPaths + keyName, ""), std::make_pair(winreg::REG_SZ, TextBytes("C:\\Apps\\" + name)))
            << name;
        EXPECT_EQ(registry.call("GetAppPath", name).toString(), "C:\\Apps\\" + name);
    }
}

TEST_F(ApplicationTest, AppPathsRefuseWhatTheyCannotHold)
{
    const std::string path255(255, 'p');
    registry.call("SetAppPath", "long", path255);
    EXPECT_EQ(registry.call("GetAppPath", "long").toString(), path255);

    WriteMachineValue("", AppPaths + "zero.exe", "", winreg::REG_SZ, TextBytes(std::string_view("C:\\zero.exe\0", 12)));
    EXPECT_EQ(registry.call("GetAppPath", "zero").toString(), "C:\\zero.exe") << "the stored zero is not part of the path";
    WriteMachineValue("", AppPaths + "huge.exe", "", winreg::REG_SZ, TextBytes(std::string(300, 'h')));
    EXPECT_EQ(Failure([&] { registry.call("GetAppPath", "huge"); }), RegistryError(winreg::ERROR_MORE_DATA));

    const auto invalid = RegistryError(winreg::ERROR_INVALID_PARAMETER);
    EXPECT_EQ(Failure([&] { registry.call("SetAppPath", "long", path255 + "p"); }), invalid);
    EXPECT_EQ(Failure([&] { registry.call("SetAppPath", std::string(256, 'n'), "x"); }), invalid);
    EXPECT_EQ(Failure([&] { registry.call("GetAppPath", std::string(256, 'n')); }), invalid);
    // Limits count bytes: 200 letters of two bytes each are refused, 127 pass.
    std::string wide, narrowEnough;
    for (int i = 0; i < 200; ++i) wide += "\u00e4";
    for (int i = 0; i < 127; ++i) narrowEnough += "\u00e4";
    EXPECT_EQ(Failure([&] { registry.call("SetAppPath", "wide", wide); }), invalid);
    EXPECT_FALSE(MachineKeyExists(AppPaths + "wide.exe")) << "nothing stored that could not be read";
    EXPECT_EQ(Failure([&] { registry.call("SetAppPath", wide, "x"); }), invalid);
    EXPECT_EQ(Failure([&] { registry.call("GetAppPath", wide); }), invalid);
    registry.call("SetAppPath", "wide", narrowEnough);
    EXPECT_EQ(registry.call("GetAppPath", "wide").toString(), narrowEnough);
    EXPECT_EQ(Failure([&] { registry.call("GetAppPath", ""); }), RegistryError(winreg::ERROR_BAD_PATHNAME));
    EXPECT_EQ(Failure([&] { registry.call("SetAppPath", "", "x"); }), RegistryError(winreg::ERROR_BAD_PATHNAME));
    EXPECT_FALSE(MachineKeyExists(AppPaths + ".exe"));
    EXPECT_EQ(Failure([&] { registry.call("GetAppPath", "absent"); }), RegistryError(winreg::ERROR_FILE_NOT_FOUND));
}

TEST_F(ApplicationTest, ApplicationDataReachesAnotherMachine)
{
    registry.put("ComputerName", "SRV1");
    useApplication("Acme", "Tool");
    registry.call("SetAppStringData", "Where", "server");
    registry.call("SetAppPath", "tool", "D:\\tool.exe");
    EXPECT_FALSE(MachineKeyExists("Software\\Acme\\Tool")) << "not on the local machine";

    registry.put("ComputerName", "");
    EXPECT_EQ(Failure([&] { registry.call("GetAppStringData", "Where"); }), RegistryError(winreg::ERROR_FILE_NOT_FOUND));
    registry.put("ComputerName", "srv1");
    EXPECT_EQ(registry.call("GetAppStringData", "Where").toString(), "server");
    EXPECT_EQ(registry.call("GetAppPath", "tool").toString(), "D:\\tool.exe");
}
