#include "local_network.h"

#include "platform/com/registrar.h"
#include "support/registry_dump.h"

using namespace com;
using com_testing::LocalNetworkTest;
using testing_support::DumpRegistry;

namespace {

const char* const SampleScript = R"(
# a class and its ProgID
key     HKCR\Sample.Object = 'Sample Class'
key     HKCR\Sample.Object\CLSID = '{11111111-2222-3333-4444-555555555555}'
keep    HKCR\CLSID
replace HKCR\CLSID\{11111111-2222-3333-4444-555555555555} = 'Sample ''quoted'' Class'
key     HKCR\CLSID\{11111111-2222-3333-4444-555555555555}\Programmable
key     HKCR\CLSID\{11111111-2222-3333-4444-555555555555}\InprocServer32 = '%MODULE%'
value   HKCR\CLSID\{11111111-2222-3333-4444-555555555555}\InprocServer32 ThreadingModel = 'Apartment'
)";

std::vector<RegistrarEntry> Parsed(std::string_view script, std::string_view module = "/opt/my module.so")
{
    auto parsed = ParseRegistrarScript(script, module);
    EXPECT_EQ(parsed.error, "");
    return parsed.entries;
}

class RegistrarTest : public LocalNetworkTest {};

} // namespace

TEST(RegistrarScript, ReadsStatementsAndReplacesTheModulePath)
{
    const auto entries = Parsed(SampleScript);
    ASSERT_EQ(entries.size(), 7u);
    EXPECT_EQ(entries[3].action, RegistrarEntry::Action::Replace);
    EXPECT_EQ(entries[3].text, "Sample 'quoted' Class");
    EXPECT_EQ(entries[5].path, "CLSID\\{11111111-2222-3333-4444-555555555555}\\InprocServer32");
    EXPECT_EQ(entries[5].text, "/opt/my module.so");
    EXPECT_EQ(entries[6].action, RegistrarEntry::Action::Value);
    EXPECT_EQ(entries[6].valueName, "ThreadingModel");
    EXPECT_EQ(entries[2].action, RegistrarEntry::Action::Keep);
    EXPECT_FALSE(entries[4].text);
}

TEST(RegistrarScript, RefusesMalformedStatements)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"remove HKCR\\A", "line 1: unknown statement 'remove'"},
        {"key HKXX\\A", "line 1: unknown hive in 'HKXX\\A'"},
        {"key HKCR", "line 1: a key below the hive is missing"},
        {"key HKCR\\A\\\\B", "line 1: empty key name in 'HKCR\\A\\\\B'"},
        {"key HKCR\\A\\B", "line 1: the parent of 'HKCR\\A\\B' is not declared"},
        {"\nvalue HKCR\\A Name = 'x'", "line 2: value of an undeclared key 'HKCR\\A'"},
        {"key HKCR\\A\nvalue HKCR\\A Name", "line 2: a value needs a name, '=' and a text"},
        {"key HKCR\\A = 'open", "line 1: unterminated quote"},
        {"key HKCR\\A = text", "line 1: expected = 'text'"},
        {"keep HKCR\\A = 'x'", "line 1: a kept key takes no text"},
    };
    for (const auto& [script, error] : cases) EXPECT_EQ(ParseRegistrarScript(script, "m.so").error, error) << script;
}

TEST_F(RegistrarTest, UnregisteringLeavesExactlyWhatWasThereBefore)
{
    WriteClassesRoot("CLSID\\{AAAAAAAA-0000-0000-0000-000000000000}\\InprocServer32", "/other.so");
    WriteClassesRoot("Other.Object\\CLSID", "{AAAAAAAA-0000-0000-0000-000000000000}");
    const auto before = DumpRegistry(winreg::HKEY_CLASSES_ROOT);

    const auto entries = Parsed(SampleScript, "/opt/sample.so");
    ASSERT_EQ(ApplyRegistration(entries), winreg::ERROR_SUCCESS);
    const auto registered = DumpRegistry(winreg::HKEY_CLASSES_ROOT, "CLSID\\{11111111-2222-3333-4444-555555555555}");
    EXPECT_EQ(registered, (std::vector<std::string>{
                              "CLSID\\{11111111-2222-3333-4444-555555555555} [] 1: Sample 'quoted' Class\\0",
                              "CLSID\\{11111111-2222-3333-4444-555555555555}\\Programmable",
                              "CLSID\\{11111111-2222-3333-4444-555555555555}\\InprocServer32",
                              "CLSID\\{11111111-2222-3333-4444-555555555555}\\InprocServer32 [] 1: /opt/sample.so\\0",
                              "CLSID\\{11111111-2222-3333-4444-555555555555}\\InprocServer32 [ThreadingModel] 1: "
                              "Apartment\\0",
                          }));

    ASSERT_EQ(RemoveRegistration(entries), winreg::ERROR_SUCCESS);
    EXPECT_EQ(DumpRegistry(winreg::HKEY_CLASSES_ROOT), before);
    EXPECT_EQ(RemoveRegistration(entries), winreg::ERROR_SUCCESS) << "removing twice finds nothing to remove";
}

TEST_F(RegistrarTest, ReplacesTheClassKeyWholeButKeepsWhatOthersAddedToSharedKeys)
{
    const auto entries = Parsed(SampleScript);
    ASSERT_EQ(ApplyRegistration(entries), winreg::ERROR_SUCCESS);
    WriteClassesRoot("CLSID\\{11111111-2222-3333-4444-555555555555}\\Stale", "left from before");
    WriteClassesRoot("Sample.Object\\Shell", "added by someone else");

    ASSERT_EQ(ApplyRegistration(entries), winreg::ERROR_SUCCESS);
    winreg::HKEY key = 0;
    EXPECT_EQ(winreg::OpenKey(winreg::HKEY_CLASSES_ROOT, "CLSID\\{11111111-2222-3333-4444-555555555555}\\Stale",
                              winreg::KEY_READ, &key),
              winreg::ERROR_FILE_NOT_FOUND);

    ASSERT_EQ(RemoveRegistration(entries), winreg::ERROR_SUCCESS);
    EXPECT_EQ(DumpRegistry(winreg::HKEY_CLASSES_ROOT, "Sample.Object"),
              (std::vector<std::string>{"Sample.Object\\Shell", "Sample.Object\\Shell [] 1: added by someone else\\0"}))
        << "the ProgID key stays for the other key, without our default value";
}

TEST_F(RegistrarTest, AFailedRegistrationRemovesWhatItWrote)
{
    com::RegistryHandle transient;
    ASSERT_EQ(winreg::CreateKey(winreg::HKEY_CLASSES_ROOT, "Transient", true, transient.receive()), winreg::ERROR_SUCCESS);
    const auto before = DumpRegistry(winreg::HKEY_CLASSES_ROOT);

    const auto entries = Parsed("key HKCR\\Ours = 'x'\nkeep HKCR\\Transient\nkey HKCR\\Transient\\Lasting = 'y'");
    EXPECT_EQ(ApplyRegistration(entries), winreg::ERROR_CHILD_MUST_BE_VOLATILE);
    EXPECT_EQ(DumpRegistry(winreg::HKEY_CLASSES_ROOT), before);
}

TEST_F(RegistrarTest, AFailedRegistrationUndoesNothingAnotherRegistrationWrote)
{
    const auto entries = Parsed(SampleScript);
    ASSERT_EQ(ApplyRegistration(entries), winreg::ERROR_SUCCESS);
    const auto registered = DumpRegistry(winreg::HKEY_CLASSES_ROOT);

    com::RegistryHandle transient;
    ASSERT_EQ(winreg::CreateKey(winreg::HKEY_CLASSES_ROOT, "Transient", true, transient.receive()), winreg::ERROR_SUCCESS);
    auto failing = Parsed(std::string(SampleScript) + "keep HKCR\\Transient\nkey HKCR\\Transient\\Lasting = 'y'\n");
    const auto withTransient = DumpRegistry(winreg::HKEY_CLASSES_ROOT);
    EXPECT_EQ(ApplyRegistration(failing), winreg::ERROR_CHILD_MUST_BE_VOLATILE);
    EXPECT_EQ(DumpRegistry(winreg::HKEY_CLASSES_ROOT), withTransient)
        << "the class keys of the first registration are still there, and nothing of the failed one";
    EXPECT_NE(registered, withTransient);
}

// Keys a registration made only to hold what it registers (HKCR\CLSID in a
// fresh registry) go with the last unregistration that leaves them empty;
// such keys that were there before stay.
TEST_F(RegistrarTest, UnregisteringRemovesTheSharedParentsRegistrationMadeAndNoOthers)
{
    const auto fresh = DumpRegistry(winreg::HKEY_CLASSES_ROOT);
    const auto sample = Parsed(SampleScript);
    const auto other = Parsed("keep HKCR\\CLSID\nreplace HKCR\\CLSID\\{22222222-0000-0000-0000-000000000000} = 'Other'\n");
    ASSERT_EQ(ApplyRegistration(sample), winreg::ERROR_SUCCESS);
    ASSERT_EQ(ApplyRegistration(other), winreg::ERROR_SUCCESS);
    ASSERT_EQ(RemoveRegistration(sample), winreg::ERROR_SUCCESS);
    EXPECT_EQ(DumpRegistry(winreg::HKEY_CLASSES_ROOT, "CLSID"),
              (std::vector<std::string>{"CLSID\\{22222222-0000-0000-0000-000000000000}",
                                        "CLSID\\{22222222-0000-0000-0000-000000000000} [] 1: Other\\0"}));
    ASSERT_EQ(RemoveRegistration(other), winreg::ERROR_SUCCESS);
    EXPECT_EQ(DumpRegistry(winreg::HKEY_CLASSES_ROOT), fresh);

    com::RegistryHandle existing;
    ASSERT_EQ(winreg::CreateKey(winreg::HKEY_CLASSES_ROOT, "CLSID", false, existing.receive()), winreg::ERROR_SUCCESS);
    const auto withEmptyClsid = DumpRegistry(winreg::HKEY_CLASSES_ROOT);
    ASSERT_EQ(ApplyRegistration(sample), winreg::ERROR_SUCCESS);
    ASSERT_EQ(RemoveRegistration(sample), winreg::ERROR_SUCCESS);
    EXPECT_EQ(DumpRegistry(winreg::HKEY_CLASSES_ROOT), withEmptyClsid);
}
