#include "local_network.h"

#include "platform/com/class_registry.h"
#include "platform/com/object.h"

#include <cstdlib>

using namespace com;
using com_testing::LocalNetworkTest;

namespace {

const char* const SampleClsid = "{11111111-2222-3333-4444-555555555555}";

class ClassLookupTest : public LocalNetworkTest {};

std::pair<HRESULT, std::string> CreationFailure(const std::string& progid)
{
    try {
        CreateObject(progid);
    } catch (const ComError& error) {
        return {error.number(), error.description()};
    }
    return {S_OK, "created"};
}

} // namespace

TEST_F(ClassLookupTest, FindsTheClassOfAProgIdThroughCurVer)
{
    WriteClassesRoot("Sample.Object.1\\CLSID", SampleClsid);
    WriteClassesRoot("Sample.Object\\CurVer", "Sample.Object.1");
    WriteClassesRoot("Loop.A\\CurVer", "Loop.B");
    WriteClassesRoot("Loop.B\\CurVer", "Loop.A");
    WriteClassesRoot("Broken\\CLSID", "not a guid");

    const auto sample = GuidLiteral(SampleClsid);
    EXPECT_EQ(CLSIDFromProgID("Sample.Object.1"), sample);
    EXPECT_EQ(CLSIDFromProgID("SAMPLE.OBJECT.1"), sample) << "ProgIDs match without regard to case";
    EXPECT_EQ(CLSIDFromProgID("sample.object"), sample) << "through CurVer";
    EXPECT_EQ(CLSIDFromProgID("Loop.A"), std::nullopt);
    EXPECT_EQ(CLSIDFromProgID("Broken"), std::nullopt);
    EXPECT_EQ(CLSIDFromProgID("Missing"), std::nullopt);
    EXPECT_EQ(CLSIDFromProgID("CLSID\\x"), std::nullopt);

    WriteClassesRoot(std::string("CLSID\\") + SampleClsid + "\\ProgID", "Sample.Object.1");
    EXPECT_EQ(ProgIDFromCLSID(sample), "Sample.Object.1");
    EXPECT_EQ(ProgIDFromCLSID(GuidLiteral("{00000000-0000-0000-0000-000000000001}")), std::nullopt);
}

TEST_F(ClassLookupTest, CreationFailuresSayWhatIsMissing)
{
    const std::string buildBin = std::getenv("TARVEX_BUILD_BIN") ? std::getenv("TARVEX_BUILD_BIN") : ".";
    WriteClassesRoot("Unserved\\CLSID", SampleClsid);
    WriteClassesRoot("NoFile\\CLSID", "{22222222-2222-3333-4444-555555555555}");
    WriteClassesRoot("CLSID\\{22222222-2222-3333-4444-555555555555}\\InprocServer32", (root.path() / "gone.so").string());
    WriteClassesRoot("NotAComponent\\CLSID", "{33333333-2222-3333-4444-555555555555}");
    WriteClassesRoot("CLSID\\{33333333-2222-3333-4444-555555555555}\\InprocServer32",
                     buildBin + "/libtarvex_platform.so");

    EXPECT_EQ(CreationFailure("No.Such.Class"), std::make_pair(CO_E_CLASSSTRING, std::string("Invalid class string")));
    EXPECT_EQ(CreationFailure("Unserved"), std::make_pair(REGDB_E_CLASSNOTREG, std::string("Class not registered")));
    const auto noFile = CreationFailure("NoFile");
    EXPECT_EQ(noFile.first, CO_E_DLLNOTFOUND);
    EXPECT_NE(noFile.second.find("gone.so"), std::string::npos) << noFile.second;
    EXPECT_EQ(CreationFailure("NotAComponent").first, CO_E_ERRORINDLL);
}
