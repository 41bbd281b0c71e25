// The program's own use of the component, end to end: registered with the
// regsvr tool, created by ProgID, called by member name. This test process
// links no component.

#include "vornik_fixture.h"

#include "support/registry_dump.h"

#include <sys/wait.h>
#include <unistd.h>

using namespace vornik_testing;
using testing_support::DumpRegistry;

namespace {

const std::string SharePointKey = "SOFTWARE\\Microsoft\\SharePoint Portal Server";

int RunRegsvr(const std::string& arguments)
{
    const int status = std::system((BuildBin() + "/regsvr " + arguments + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> Without(const std::vector<std::string>& all, const std::vector<std::string>& removed)
{
    std::vector<std::string> rest;
    for (const auto& line : all)
        if (std::find(removed.begin(), removed.end(), line) == removed.end()) rest.push_back(line);
    return rest;
}

class EnginePathTest : public NetworkTest {};

} // namespace

TEST_F(EnginePathTest, RegsvrWritesExactlyTheRegistrationKeysAndRemovesThemAgain)
{
    // Another class already registered, so that CLSID and TypeLib exist.
    WriteMachineValue("", "SOFTWARE\\Classes\\CLSID\\{AAAAAAAA-0000-0000-0000-000000000000}", "", winreg::REG_SZ,
                      TextBytes(std::string_view("Other\0", 6)));
    WriteMachineValue("", "SOFTWARE\\Classes\\TypeLib\\{BBBBBBBB-0000-0000-0000-000000000000}", "", winreg::REG_SZ,
                      TextBytes(std::string_view("Other\0", 6)));
    const auto before = DumpRegistry(winreg::HKEY_CLASSES_ROOT);

    const std::string module = VornikModulePath();
    ASSERT_EQ(RunRegsvr(module), 0);
    const std::string clsidKey = "CLSID\\{77E98182-6D80-11D3-AE12-008048D7657D}";
    const std::string typeLibKey = "TypeLib\\{6CE60A41-6D7C-11D3-AE11-008048D7657D}";
    const std::vector<std::string> expected = {
        "Vornik.Registry",
        "Vornik.Registry [] 1: Vorn Registry Class\\0",
        "Vornik.Registry\\CLSID",
        "Vornik.Registry\\CLSID [] 1: {77E98182-6D80-11D3-AE12-008048D7657D}\\0",
        clsidKey,
        clsidKey + " [] 1: Registry Class\\0",
        clsidKey + "\\ProgID",
        clsidKey + "\\ProgID [] 1: Vornik.Registry\\0",
        clsidKey + "\\VersionIndependentProgID",
        clsidKey + "\\VersionIndependentProgID [] 1: Vornik.Registry\\0",
        clsidKey + "\\Programmable",
        clsidKey + "\\InprocServer32",
        clsidKey + "\\InprocServer32 [] 1: " + std::filesystem::path(module).lexically_normal().string() + "\\0",
        clsidKey + "\\InprocServer32 [ThreadingModel] 1: Apartment\\0",
        typeLibKey,
        typeLibKey + "\\1.0",
        typeLibKey + "\\1.0 [] 1: Vorn Registry 1.0 Type Library\\0",
        typeLibKey + "\\1.0\\0",
        typeLibKey + "\\1.0\\0\\win32",
        typeLibKey + "\\1.0\\0\\win32 [] 1: " + std::filesystem::path(module).lexically_normal().string() + "\\0",
    };
    const auto registered = DumpRegistry(winreg::HKEY_CLASSES_ROOT);
    EXPECT_EQ(Without(registered, before).size(), expected.size());
    for (const auto& line : expected)
        EXPECT_NE(std::find(registered.begin(), registered.end(), line), registered.end()) << line;
    EXPECT_EQ(Without(registered, expected), before) << "nothing else changed";

    ASSERT_EQ(RunRegsvr("-u " + module), 0);
    EXPECT_EQ(DumpRegistry(winreg::HKEY_CLASSES_ROOT), before);
}

TEST_F(EnginePathTest, RegsvrInAFreshNetworkAndBackLeavesTheRegistryAsItWas)
{
    const auto before = DumpRegistry(winreg::HKEY_CLASSES_ROOT);
    ASSERT_EQ(RunRegsvr(VornikModulePath()), 0);
    ASSERT_EQ(RunRegsvr("-u " + VornikModulePath()), 0);
    EXPECT_EQ(DumpRegistry(winreg::HKEY_CLASSES_ROOT), before) << "no empty CLSID or TypeLib key left";
}

// Registrations running at the same time each change the hive in one step
// under its lock: whichever comes last, the component is registered whole.
TEST_F(EnginePathTest, RegsvrsStartedTogetherLeaveTheComponentRegistered)
{
    constexpr int kRounds = 6;
    constexpr int kTogether = 4;
    const std::string command = BuildBin() + "/regsvr " + VornikModulePath() + " >/dev/null 2>&1";
    std::vector<std::string> registered;
    for (int round = 0; round < kRounds; ++round) {
        ASSERT_EQ(RunRegsvr("-u " + VornikModulePath()), 0);
        std::vector<pid_t> children;
        for (int i = 0; i < kTogether; ++i) {
            const pid_t child = ::fork();
            if (child == 0) ::_exit(std::system(command.c_str()) == 0 ? 0 : 1);
            children.push_back(child);
        }
        for (const pid_t child : children) {
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "round " << round;
        }
        const auto dump = DumpRegistry(winreg::HKEY_CLASSES_ROOT);
        if (registered.empty()) registered = dump;
        EXPECT_EQ(dump, registered) << "round " << round;
        EXPECT_NO_THROW(com::CreateObject("Vornik.Registry")) << "round " << round;
    }
    EXPECT_EQ(registered.size(), 22u) << "the twenty lines of the registration, CLSID and TypeLib";
}

TEST_F(EnginePathTest, RegsvrRefusesWhatItCannotRegister)
{
    EXPECT_EQ(RunRegsvr((root.path() / "missing.so").string()), 1);
    EXPECT_EQ(RunRegsvr(BuildBin() + "/libtarvex_platform.so"), 1) << "a library without the entry points";
    EXPECT_EQ(RunRegsvr(""), 2);
    EXPECT_EQ(RunRegsvr("-x " + VornikModulePath()), 2);

    testing_support::ScopedEnv nowhere("TARVEX_NETWORK", (root.path() / "no network").string());
    EXPECT_EQ(RunRegsvr(VornikModulePath()), 1);
}

TEST_F(EnginePathTest, ReadsTheInstallPathOfAServerByMemberName)
{
    ASSERT_EQ(RunRegsvr(VornikModulePath()), 0);
    const std::string installPath = "C:\\Program Files\\SharePoint Portal Server";
    WriteMachineValue("SRV1", SharePointKey, "InstallPath", winreg::REG_SZ,
                      TextBytes(std::string_view(installPath.c_str(), installPath.size() + 1)));

    com::Object reg = com::CreateObject("Vornik.Registry");
    reg.put("ComputerName", "SRV1");
    com::Object key = reg.get("HKeyLocalMachine", SharePointKey);
    EXPECT_EQ(key.get("StringValue", "InstallPath").get("ValueData").toString(), installPath);
    EXPECT_EQ(reg.get("computername").toString(), "SRV1");
}

TEST_F(EnginePathTest, UnreachableKeysAndHostsGiveTheSystemTexts)
{
    ASSERT_EQ(RunRegsvr(VornikModulePath()), 0);
    com::Object reg = com::CreateObject("Vornik.Registry");

    reg.put("ComputerName", "SRV1");
    EXPECT_EQ(Failure([&] { reg.get("HKeyLocalMachine", SharePointKey); }),
              std::make_pair(RegistryCallFailed, std::string("The system cannot find the file specified.")));
    auto error = com::GetErrorInfo();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->source, "Vornik.Registry");
    EXPECT_EQ(error->iid, com::GuidLiteral("{77E98181-6D80-11D3-AE12-008048D7657D}"));

    reg.put("ComputerName", "NOSUCHHOST");
    EXPECT_EQ(Failure([&] { reg.get("HKeyLocalMachine", "SOFTWARE"); }), RegistryError(winreg::ERROR_BAD_NETPATH));
    EXPECT_FALSE(winreg::SystemMessage(winreg::ERROR_BAD_NETPATH).empty());

    reg.put("ComputerName", "");
    com::Object hive = reg.get("HKeyLocalMachine", "");
    EXPECT_EQ(hive.get("Name").toString(), "") << "an empty name opens the hive itself";
}

TEST_F(EnginePathTest, EveryClassAnswersForItsOwnInterfaceOnly)
{
    ASSERT_EQ(RunRegsvr(VornikModulePath()), 0);
    com::Object reg = com::CreateObject("Vornik.Registry");
    auto support = com::ComPtr<com::IUnknown>(reg.dispatch()).query<com::ISupportErrorInfo>(com::IID_ISupportErrorInfo);
    ASSERT_TRUE(support);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(com::GuidLiteral("{77E98181-6D80-11D3-AE12-008048D7657D}")), com::S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(com::GuidLiteral("{77E98185-6D80-11D3-AE12-008048D7657D}")),
              com::S_FALSE);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(com::IID_IDispatch), com::S_FALSE);

    com::Object key = reg.get("HKeyLocalMachine", "SOFTWARE");
    auto keySupport = com::ComPtr<com::IUnknown>(key.dispatch()).query<com::ISupportErrorInfo>(com::IID_ISupportErrorInfo);
    ASSERT_TRUE(keySupport);
    EXPECT_EQ(keySupport->InterfaceSupportsErrorInfo(com::GuidLiteral("{77E98185-6D80-11D3-AE12-008048D7657D}")),
              com::S_OK);
}

TEST_F(EnginePathTest, OnlyTheRegistryClassIsServedAndTheModuleCountsItsObjects)
{
    const auto& module = com::LoadModule(VornikModulePath());
    ASSERT_TRUE(module.getClassObject && module.canUnloadNow);
    void* factory = nullptr;
    const auto regKeyClsid = com::GuidLiteral("{77E98186-6D80-11D3-AE12-008048D7657D}");
    EXPECT_EQ(module.getClassObject(&regKeyClsid, &com::IID_IClassFactory, &factory), com::CLASS_E_CLASSNOTAVAILABLE);

    ASSERT_EQ(RunRegsvr(VornikModulePath()), 0);
    EXPECT_EQ(module.canUnloadNow(), com::S_OK);
    {
        com::Object reg = com::CreateObject("Vornik.Registry");
        com::Object key = reg.get("HKeyLocalMachine", "SOFTWARE");
        EXPECT_EQ(module.canUnloadNow(), com::S_FALSE);
    }
    EXPECT_EQ(module.canUnloadNow(), com::S_OK);
}
