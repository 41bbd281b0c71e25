#include "platform/com/variant.h"

#include <gtest/gtest.h>

using com::Variant;

TEST(Variant, ConvertsAsAnAutomationClientDoes)
{
    EXPECT_EQ(Variant(true).toString(), "True");
    EXPECT_EQ(Variant(std::int32_t(-5)).toString(), "-5");
    EXPECT_EQ(Variant(1.5).toString(), "1.5");
    EXPECT_EQ(Variant("2.5").toInt32(), 2); // halves to even
    EXPECT_EQ(Variant("3.5").toInt32(), 4);
    EXPECT_TRUE(Variant("TRUE").toBool());
    EXPECT_FALSE(Variant("false").toBool());
    EXPECT_EQ(Variant().toString(), "");
    EXPECT_EQ(Variant().toInt32(), 0);
    EXPECT_EQ(Variant(sys::MakeDateTime({2026, 12, 7, 12, 0, 0})).toString(), "12/7/2026 12:00:00 PM");
}

TEST(Variant, RefusesWhatDoesNotConvert)
{
    try {
        Variant("abc").toInt32();
        FAIL();
    } catch (const com::ComError& e) {
        EXPECT_EQ(e.number(), com::DISP_E_TYPEMISMATCH);
    }
    EXPECT_THROW(Variant("x").array(), com::ComError);
    EXPECT_THROW(Variant("not a date").toDate(), com::ComError);
}

TEST(Variant, CopiesArraysDeeplyAndKeepsBounds)
{
    com::SafeArray bytes{com::VT_VARIANT, 3, {Variant(std::uint8_t(1)), Variant(std::uint8_t(255))}};
    Variant original(bytes);
    Variant copy = original;
    copy.array().elements[0] = Variant(std::uint8_t(9));
    EXPECT_EQ(original.array().at(3).toInt32(), 1);
    EXPECT_EQ(copy.array().at(3).toInt32(), 9);
    EXPECT_EQ(original.array().upperBound(), 4);
    EXPECT_THROW(original.array().at(5), com::ComError);
    EXPECT_EQ(original.type(), com::VT_ARRAY | com::VT_VARIANT);
    EXPECT_EQ(Variant::StringArray({"a", "b"}).type(), com::VT_ARRAY | com::VT_BSTR);
}

TEST(Variant, ReferencesReadAndWriteTheirTarget)
{
    Variant target("before");
    Variant reference = Variant::ByRef(&target);
    EXPECT_EQ(reference.type(), com::VT_BYREF | com::VT_BSTR);
    EXPECT_EQ(reference.toString(), "before");
    *reference.target() = Variant(std::int32_t(7));
    EXPECT_EQ(target.toInt32(), 7);
    EXPECT_TRUE(Variant::Missing().isMissing());
}
