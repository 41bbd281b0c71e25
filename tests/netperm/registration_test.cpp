// The component as a module: its registration, its exports, its classes.

#include "netperm_fixture.h"

#include "platform/com/module_loader.h"
#include "platform/net/net_errors.h"
#include "support/registry_dump.h"

#include <cstdio>
#include <set>
#include <sys/wait.h>

using namespace netperm_testing;

namespace {

int RunRegsvr(const std::string& arguments)
{
    const int status = std::system((BuildBin() + "/regsvr " + arguments + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string CommandOutput(const std::string& command)
{
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    ::pclose(pipe);
    return output;
}

struct ClassKeys {
    std::string name;
    std::string clsid;
};

const ClassKeys Classes[] = {
    {"CSPShares", "{CB08069F-9948-11D5-98A0-0050BAD8F573}"},
    {"CSPSharePerm", "{CB0806A1-9948-11D5-98A0-0050BAD8F573}"},
    {"CSPFilePerm", "{CB0806A3-9948-11D5-98A0-0050BAD8F573}"},
};
const std::string TypeLib = "{CB080691-9948-11D5-98A0-0050BAD8F573}";

// The lines of HKCR that registering the module at path adds.
std::set<std::string> RegistrationLines(const std::string& path)
{
    std::set<std::string> lines;
    const auto key = [&](const std::string& name, const std::string& text = "") {
        lines.insert(name);
        if (!text.empty()) lines.insert(name + " [] 1: " + text + "\\0");
    };
    for (const ClassKeys& c : Classes) {
        const std::string progid = "Netperm." + c.name, description = c.name + " Class";
        const std::string clsidKey = "CLSID\\" + c.clsid;
        key(progid + ".1", description);
        key(progid + ".1\\CLSID", c.clsid);
        key(progid, description);
        key(progid + "\\CLSID", c.clsid);
        key(progid + "\\CurVer", progid + ".1");
        key(clsidKey, description);
        key(clsidKey + "\\ProgID", progid + ".1");
        key(clsidKey + "\\VersionIndependentProgID", progid);
        key(clsidKey + "\\Programmable");
        key(clsidKey + "\\InprocServer32", path);
        lines.insert(clsidKey + "\\InprocServer32 [ThreadingModel] 1: Apartment\\0");
        key(clsidKey + "\\TypeLib", TypeLib);
    }
    key("TypeLib\\" + TypeLib);
    key("TypeLib\\" + TypeLib + "\\1.0", "Netperm 1.0 Type Library");
    key("TypeLib\\" + TypeLib + "\\1.0\\0");
    key("TypeLib\\" + TypeLib + "\\1.0\\0\\win32", path);
    return lines;
}

class RegistrationTest : public NetpermTest {};

TEST_F(RegistrationTest, RegsvrWritesExactlyTheRegistrationKeysAndRemovesThemAgain)
{
    const std::string module = std::filesystem::path(NetpermModulePath()).lexically_normal().string();
    ASSERT_EQ(RunRegsvr("-u " + module), 0);
    const auto before = testing_support::DumpRegistry(winreg::HKEY_CLASSES_ROOT);
    const std::set<std::string> beforeLines(before.begin(), before.end());

    ASSERT_EQ(RunRegsvr(module), 0);
    const auto registered = testing_support::DumpRegistry(winreg::HKEY_CLASSES_ROOT);
    std::set<std::string> added;
    for (const std::string& line : registered)
        if (!beforeLines.count(line)) added.insert(line);
    std::set<std::string> expected = RegistrationLines(module);
    for (const char* parent : {"CLSID", "TypeLib"}) // made by a registration into a registry without them
        if (!beforeLines.count(parent)) expected.insert(parent);
    EXPECT_EQ(added, expected);

    ASSERT_EQ(RunRegsvr("-u " + module), 0);
    EXPECT_EQ(testing_support::DumpRegistry(winreg::HKEY_CLASSES_ROOT), before);
}

TEST_F(RegistrationTest, TheModuleExportsOnlyItsFourEntryPoints)
{
    std::set<std::string> exported;
    const std::string output = CommandOutput("nm -D --defined-only " + NetpermModulePath());
    for (std::size_t start = 0; start < output.size();) {
        const std::size_t end = output.find('\n', start);
        const std::string line = output.substr(start, end - start);
        exported.insert(line.substr(line.rfind(' ') + 1));
        start = end == std::string::npos ? output.size() : end + 1;
    }
    EXPECT_EQ(exported,
              (std::set<std::string>{"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer", "DllUnregisterServer"}));
}

TEST_F(RegistrationTest, EveryClassIsCreatedByItsProgIDsAndAnswersForItsOwnInterface)
{
    const struct {
        const char* progid;
        const char* iid;
        const char* member;
    } classes[] = {
        {"NETPERM.CSPShares.1", "{CB08069E-9948-11D5-98A0-0050BAD8F573}", "GetDomains"},
        {"Netperm.CSPSharePerm", "{CB0806A0-9948-11D5-98A0-0050BAD8F573}", "GetSharePermissions"},
        {"netperm.cspfileperm.1", "{CB0806A2-9948-11D5-98A0-0050BAD8F573}", "GetObjectPermissionsEx"},
    };
    for (const auto& c : classes) {
        const com::Object object = com::CreateObject(c.progid);
        com::DISPID member = 0;
        EXPECT_EQ(object.dispatch()->GetIDsOfNames(c.member, &member), com::S_OK) << c.progid;
        const auto support =
            com::ComPtr<com::IUnknown>(object.dispatch()).query<com::ISupportErrorInfo>(com::IID_ISupportErrorInfo);
        ASSERT_TRUE(support);
        for (const auto& other : classes)
            EXPECT_EQ(support->InterfaceSupportsErrorInfo(com::GuidLiteral(other.iid)),
                      other.iid == c.iid ? com::S_OK : com::S_FALSE);
    }
}

TEST_F(RegistrationTest, MembersHaveTheirDispatchIds)
{
    const struct {
        const char* name;
        com::DISPID id;
    } members[] = {
        {"GetDomains", 1},          {"GetShares", 2},           {"GetServers", 3},        {"GetServerName", 4},
        {"GetSharesEx", 5},         {"GetFilesInShare", 6},     {"GetSPServers", 7},      {"GetUsers", 8},
        {"GetGroups", 9},           {"GetUsersInGroup", 0xA},   {"IsValidDomain", 0xB},   {"GetExchangeServers", 0xC},
        {"IsExchServer", 0xD},      {"EstablishSession", 0xE},  {"GetAllFoldersInShare", 0xF},
        {"GetAllFilesInShare", 0x10}, {"IsSPServer", 0x11},     {"GetOSType", 0x12},
    };
    for (const auto& m : members) {
        com::DISPID id = -1;
        EXPECT_EQ(shares.dispatch()->GetIDsOfNames(m.name, &id), com::S_OK) << m.name;
        EXPECT_EQ(id, m.id) << m.name;
    }
}

} // namespace
