#include "vornik_fixture.h"

#include "support/scoped_env.h"

using namespace vornik_testing;
using com::Object;
using com::Variant;

namespace {

const com::IID IRegBinaryValue = com::GuidLiteral("{0A2CD6F6-6F05-11D3-AE14-008048D7657D}");

class KeysValuesTest : public VornikTest {
protected:
    void SetUp() override
    {
        VornikTest::SetUp();
        key = registry.get("HKeyLocalMachine", "SOFTWARE").call("AddKey", "Tarvex");
    }

    static Variant ByteArray(std::int32_t lowerBound, std::vector<Variant> elements)
    {
        return Variant(com::SafeArray{com::VT_VARIANT, lowerBound, std::move(elements)});
    }

    Object key;
};

} // namespace

TEST_F(KeysValuesTest, StringsAreAddedWithTheirZeroAndRewrittenWithout)
{
    Object value = key.call("AddStringValue", "s", "abc");
    EXPECT_EQ(value.get("ValueData").toString(), "abc");
    EXPECT_EQ(value.get("Name").toString(), "s");
    EXPECT_EQ(ReadMachineValue("SOFTWARE\\Tarvex", "s"), std::make_pair(winreg::REG_SZ, TextBytes(std::string_view("abc\0", 4))));

    value.put("ValueData", "xyz");
    EXPECT_EQ(ReadMachineValue("SOFTWARE\\Tarvex", "s"), std::make_pair(winreg::REG_SZ, TextBytes("xyz")));
    EXPECT_EQ(value.get("ValueData").toString(), "xyz");
    EXPECT_EQ(key.get("StringValue", "S").get("ValueData").toString(), "xyz") << "read back without a zero";
}

TEST_F(KeysValuesTest, StringReadsStopAtTheFirstZeroOrTheEndOfTheData)
{
    const std::vector<std::pair<Bytes, std::string>> cases = {
        {TextBytes("no terminator"), "no terminator"},
        {TextBytes(std::string_view("first\0second\0", 13)), "first"},
        {{}, ""},
        {{0}, ""},
    };
    for (const auto& [bytes, text] : cases) {
        WriteMachineValue("", "SOFTWARE\\Tarvex", "raw", winreg::REG_SZ, bytes);
        EXPECT_EQ(key.get("StringValue", "raw").get("ValueData").toString(), text);
    }
}

TEST_F(KeysValuesTest, ReadingAMissingValueOrAnotherTypeFails)
{
    key.call("AddNumValue", "n", 1);
    EXPECT_EQ(Failure([&] { key.get("StringValue", "n"); }), RegistryError(winreg::ERROR_INVALID_PARAMETER));
    EXPECT_EQ(Failure([&] { key.get("BinaryValue", "n"); }), RegistryError(winreg::ERROR_INVALID_PARAMETER));
    EXPECT_EQ(Failure([&] { key.get("NumValue", "missing"); }), RegistryError(winreg::ERROR_FILE_NOT_FOUND));
    const auto error = com::GetErrorInfo();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->iid, com::GuidLiteral("{77E98185-6D80-11D3-AE12-008048D7657D}")) << "reported by the key";
    EXPECT_EQ(error->source, "") << "the key's class has no registered ProgID";
}

TEST_F(KeysValuesTest, NumbersAreFourLittleEndianBytes)
{
    Object value = key.call("AddNumValue", "n", -2);
    EXPECT_EQ(ReadMachineValue("SOFTWARE\\Tarvex", "n"), std::make_pair(winreg::REG_DWORD, Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(value.get("ValueData").toInt32(), -2);
    value.put("ValueData", 258);
    EXPECT_EQ(key.get("NumValue", "n").get("ValueData").toInt32(), 258);

    WriteMachineValue("", "SOFTWARE\\Tarvex", "short", winreg::REG_DWORD, {7});
    EXPECT_EQ(key.get("NumValue", "short").get("ValueData").toInt32(), 7) << "short data reads as zero-padded";
}

TEST_F(KeysValuesTest, BinaryValuesTakeArraysOfAnyLowerBound)
{
    const std::vector<Variant> arrays = {
        ByteArray(0, {std::int16_t(1), std::int16_t(2), std::int16_t(255)}),
        ByteArray(1, {std::int32_t(1), std::int32_t(2), std::int32_t(255)}),
        ByteArray(-3, {std::uint8_t(1), 2.0, std::int32_t(-1)}),
        Variant(com::SafeArray{com::VT_UI1, 5, {std::uint8_t(1), std::uint8_t(2), std::uint8_t(255)}}),
    };
    for (const auto& array : arrays) {
        key.call("AddBinaryValue", "b", array);
        EXPECT_EQ(ReadMachineValue("SOFTWARE\\Tarvex", "b"), std::make_pair(winreg::REG_BINARY, Bytes{1, 2, 255}));
    }

    const Variant data = key.get("BinaryValue", "b").get("ValueData");
    EXPECT_EQ(data.type(), com::VT_ARRAY | com::VT_VARIANT);
    EXPECT_EQ(data.array().lowerBound, 0);
    EXPECT_EQ(data.array().elements,
              (std::vector<Variant>{std::uint8_t(1), std::uint8_t(2), std::uint8_t(255)}));
}

TEST_F(KeysValuesTest, ArraysThatAreNotByteArraysAreRefused)
{
    Object value = key.call("AddBinaryValue", "b", ByteArray(0, {std::int32_t(9)}));
    EXPECT_EQ(Failure([&] { value.put("ValueData", "not an array"); }),
              std::make_pair(com::MakeHResult(0x80040202), std::string("Invalid array")));
    auto error = com::GetErrorInfo();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->iid, IRegBinaryValue);
    EXPECT_EQ(Failure([&] { key.call("AddBinaryValue", "c", 5); }).first, RegistryCallFailed);
    EXPECT_FALSE(com::GetErrorInfo()) << "this failure carries no text";
    EXPECT_FALSE(std::filesystem::exists("Tolvane.log")) << "a value that is no array is not logged";

    // An element that holds no number refuses the array; the array's data was
    // reached, so nothing is logged.
    EXPECT_EQ(Failure([&] { value.put("ValueData", ByteArray(0, {std::int32_t(1), "text"})); }).first,
              com::MakeHResult(0x80040202));
    EXPECT_EQ(Failure([&] { key.call("AddBinaryValue", "c", ByteArray(0, {"text"})); }).first, RegistryCallFailed);
    EXPECT_EQ(ReadMachineValue("SOFTWARE\\Tarvex", "b").second, Bytes{9}) << "nothing half written";
    EXPECT_EQ(ReadMachineValue("SOFTWARE\\Tarvex", "c").first, 0u);
    EXPECT_FALSE(std::filesystem::exists("Tolvane.log"));
}

TEST_F(KeysValuesTest, MultiStringValuesHoldArraysOfStrings)
{
    Object value = key.call("AddMultzValue", "m", Variant::StringArray({"one", "two"}));
    EXPECT_EQ(ReadMachineValue("SOFTWARE\\Tarvex", "m"),
              std::make_pair(winreg::REG_MULTI_SZ, TextBytes(std::string_view("one\0two\0\0", 9))));
    EXPECT_EQ(value.get("ValueData"), Variant::StringArray({"one", "two"}));

    const auto invalidArray = std::make_pair(com::MakeHResult(0x80040202), std::string("Invalid array"));
    EXPECT_EQ(Failure([&] { value.put("ValueData", Variant::StringArray({"x"})); }), invalidArray);
    const auto error = com::GetErrorInfo();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->iid, IRegBinaryValue) << "reported as the binary value's error";

    EXPECT_EQ(Failure([&] { key.call("AddMultzValue", "m2", ByteArray(0, {"a"})); }), invalidArray);
    EXPECT_EQ(Failure([&] { key.call("AddMultzValue", "m2", Variant::StringArray({"a", "", "b"})); }), invalidArray)
        << "an empty string would cut the list short";
    EXPECT_EQ(ReadMachineValue("SOFTWARE\\Tarvex", "m2").first, 0u);
}

TEST_F(KeysValuesTest, SubkeysAndValuesAreAddedAndDeleted)
{
    for (const char* name : {"Charlie", "alpha", "Bravo"}) key.call("AddKey", name);
    Variant count;
    const Variant names = key.call("EnumSubKeys", "", Variant::ByRef(&count));
    EXPECT_EQ(count, Variant(std::int32_t(3)));
    EXPECT_EQ(names.type(), com::VT_ARRAY | com::VT_VARIANT);
    EXPECT_EQ(names.array().elements, (std::vector<Variant>{"Charlie", "alpha", "Bravo"}));

    Object existing = key.call("AddKey", "ALPHA");
    EXPECT_EQ(existing.get("Name").toString(), "ALPHA") << "an existing key is opened under the name asked for";
    EXPECT_NE(existing.get("hKey").toInt32(), 0);

    key.call("DeleteKey", "bravo");
    key.call("AddStringValue", "gone", "x");
    key.call("DeleteValue", "GONE");
    EXPECT_FALSE(MachineKeyExists("SOFTWARE\\Tarvex\\Bravo"));
    EXPECT_EQ(ReadMachineValue("SOFTWARE\\Tarvex", "gone").first, 0u);
    EXPECT_EQ(Failure([&] { key.call("DeleteValue", "gone"); }), RegistryError(winreg::ERROR_FILE_NOT_FOUND));

    Object leaf = key.call("AddKey", "Leaf");
    EXPECT_EQ(Failure([&] { leaf.call("EnumSubKeys", "", Variant::ByRef(&count)); }),
              RegistryError(winreg::ERROR_NO_MORE_ITEMS))
        << "a key without subkeys reports that there are no more items";
}

TEST_F(KeysValuesTest, VolatileKeysAreGoneAfterARestart)
{
    key.call("AddKey", "Session", true);
    key.call("AddKey", "Lasting", false);
    key.call("AddKey", "Default");
    winreg::RestartHost("");
    EXPECT_FALSE(MachineKeyExists("SOFTWARE\\Tarvex\\Session"));
    EXPECT_TRUE(MachineKeyExists("SOFTWARE\\Tarvex\\Lasting"));
    EXPECT_TRUE(MachineKeyExists("SOFTWARE\\Tarvex\\Default"));
}

TEST_F(KeysValuesTest, AValueWritesToItsOwnKeyAfterTheKeyObjectIsReleased)
{
    Object value = key.call("AddStringValue", "kept", "before");
    key = Object();
    registry = Object();
    Object other = com::CreateObject("Vornik.Registry").get("HKeyLocalMachine", "SOFTWARE").call("AddKey", "Other");
    other.call("AddStringValue", "kept", "other");

    value.put("ValueData", "after");
    EXPECT_EQ(ReadMachineValue("SOFTWARE\\Tarvex", "kept").second, TextBytes("after"));
    EXPECT_EQ(ReadMachineValue("SOFTWARE\\Other", "kept").second, TextBytes(std::string_view("other\0", 6)));
}

TEST_F(KeysValuesTest, OverLongNamesAreRefusedNotCut)
{
    const std::string longest(254, 'k');
    const std::string tooLong(255, 'k');
    const auto invalid = RegistryError(winreg::ERROR_INVALID_PARAMETER);

    EXPECT_EQ(key.call("AddKey", longest).get("Name").toString(), longest);
    EXPECT_EQ(Failure([&] { key.call("AddKey", tooLong); }), invalid);
    EXPECT_EQ(Failure([&] { key.call("AddStringValue", tooLong, "x"); }), invalid);
    EXPECT_EQ(Failure([&] { key.get("StringValue", tooLong); }), invalid);
    EXPECT_EQ(Failure([&] { registry.get("HKeyLocalMachine", "SOFTWARE\\" + std::string(246, 'p')); }), invalid);
    EXPECT_FALSE(MachineKeyExists("SOFTWARE\\Tarvex\\" + longest.substr(0, 253) + "x"));

    EXPECT_EQ(Failure([&] { registry.put("ComputerName", "SIXTEENCHARSLONG"); }), invalid);
    EXPECT_EQ(registry.get("ComputerName").toString(), "") << "the refused name is not kept";
    registry.put("ComputerName", "\\\\FIFTEENCHARSXX");
    EXPECT_EQ(registry.get("ComputerName").toString(), "\\\\FIFTEENCHARSXX");

    EXPECT_EQ(Failure([&] { registry.put("CompanyName", std::string(255, 'c')); }), invalid);
    EXPECT_EQ(Failure([&] { registry.put("AppName", std::string(255, 'a')); }), invalid);
    registry.put("AppName", std::string(254, 'a'));
}
