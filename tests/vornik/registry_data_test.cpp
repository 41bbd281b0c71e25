#include "components/registry/component_log.h"
#include "components/registry/registry_data.h"

#include <gtest/gtest.h>

using namespace vornik;
using com::Variant;

TEST(RegistryData, ByteArraysTakeTheLowByteOfEachNumber)
{
    const auto array = [](std::vector<Variant> elements) {
        return Variant(com::SafeArray{com::VT_VARIANT, 0, std::move(elements)});
    };
    struct Case {
        const char* what;
        Variant value;
        std::optional<Bytes> bytes;
    };
    Variant referenced(std::int32_t(0x1234));
    const std::vector<Case> cases = {
        {"integers of every width", array({std::int16_t(-1), std::int32_t(256), std::uint8_t(7)}), Bytes{0xFF, 0, 7}},
        {"Booleans and empty elements", array({true, false, Variant()}), Bytes{0xFF, 0, 0}},
        {"reals round to the nearest", array({2.5, 3.5, 254.6}), Bytes{2, 4, 255}},
        {"references are followed", array({Variant::ByRef(&referenced)}), Bytes{0x34}},
        {"an empty array", array({}), Bytes{}},
        {"text is no number", array({std::int32_t(1), "2"}), std::nullopt},
        {"a real beyond 32 bits", array({1e12}), std::nullopt},
        {"an error element", array({Variant::Missing()}), std::nullopt},
        {"a single number", Variant(std::int32_t(1)), std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(BytesOfArray(c.value), c.bytes) << c.what;
}

TEST(RegistryData, MultiStringsRoundTripAndRefuseEmptyStrings)
{
    const auto data = MultiStringBytes({"a", "bc"});
    ASSERT_TRUE(data);
    EXPECT_EQ(*data, (Bytes{'a', 0, 'b', 'c', 0, 0}));
    EXPECT_EQ(StringsOfMultiString(*data), (std::vector<std::string>{"a", "bc"}));
    EXPECT_EQ(MultiStringBytes({}), Bytes{0});
    EXPECT_EQ(MultiStringBytes({"a", ""}), std::nullopt);
    EXPECT_EQ(StringsOfMultiString({'x', 'y'}), std::vector<std::string>{"xy"}) << "no terminator at all";
    EXPECT_EQ(StringsOfMultiString({}), std::vector<std::string>{});

    EXPECT_EQ(StringsOfArray(Variant(com::SafeArray{com::VT_VARIANT, 0, {"a", std::int32_t(1)}}), true), std::nullopt);
    EXPECT_EQ(StringsOfArray(Variant(com::SafeArray{com::VT_VARIANT, 0, {"a"}}), false), std::nullopt);
    EXPECT_EQ(StringsOfArray(Variant::StringArray({"a"}), false), std::vector<std::string>{"a"});
}

TEST(RegistryData, NamesAreCountedInCharactersAndMatchedWithoutRegardToCase)
{
    EXPECT_EQ(CharacterCount("abc"), 3u);
    EXPECT_EQ(CharacterCount("Grüße"), 5u);
    EXPECT_EQ(CharacterCount(""), 0u);

    EXPECT_TRUE(ContainsIgnoringCase("HKEY Some Value", "some v"));
    EXPECT_TRUE(ContainsIgnoringCase(std::string_view("a\0Needle", 8), "NEEDLE"));
    EXPECT_FALSE(ContainsIgnoringCase("Need", "needle"));
}

TEST(ComponentLog, EntriesCarryDayFirstTimeAndARule)
{
    EXPECT_EQ(ComponentLogEntry({2026, 3, 4, 5, 6, 7}, "SafeArrayAccessData Failed"),
              "04/03/2026 05:06:07, SafeArrayAccessData Failed\r\n=========================\r\n");
}
