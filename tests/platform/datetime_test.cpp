#include "platform/sys/datetime.h"

#include <gtest/gtest.h>

using sys::DateParts;

TEST(GeneralDateText, ShowsTwelveHourTimeAndTheDateAloneAtMidnight)
{
    EXPECT_EQ(sys::GeneralDateText(sys::MakeDateTime({2026, 12, 7, 22, 44, 30})), "12/7/2026 10:44:30 PM");
    EXPECT_EQ(sys::GeneralDateText(sys::MakeDateTime({2026, 1, 2, 0, 0, 5})), "1/2/2026 12:00:05 AM");
    EXPECT_EQ(sys::GeneralDateText(sys::MakeDateTime({2026, 1, 2, 12, 0, 0})), "1/2/2026 12:00:00 PM");
    EXPECT_EQ(sys::GeneralDateText(sys::MakeDateTime({2026, 1, 2, 0, 0, 0})), "1/2/2026");
}

TEST(GeneralDateText, ReadsBackWhatItWrites)
{
    for (const DateParts& parts : {DateParts{2026, 12, 7, 22, 44, 30}, DateParts{2000, 2, 29, 0, 0, 0},
                                   DateParts{1999, 12, 31, 12, 30, 0}}) {
        const auto t = sys::MakeDateTime(parts);
        EXPECT_EQ(sys::ParseGeneralDate(sys::GeneralDateText(t)), t);
    }
    EXPECT_FALSE(sys::ParseGeneralDate(""));
    EXPECT_FALSE(sys::ParseGeneralDate("2/30/2026"));
    EXPECT_FALSE(sys::ParseGeneralDate("12/7/2026 13:00:00 PM"));
    EXPECT_FALSE(sys::ParseGeneralDate("12/7/2026 garbage"));
}

TEST(Clock, CanBeReplacedForTests)
{
    const auto fixed = sys::MakeDateTime({2026, 12, 8, 0, 0, 0});
    sys::SetClockForTesting([&] { return fixed; });
    EXPECT_EQ(sys::Now(), fixed);
    sys::SetClockForTesting({});
    EXPECT_NE(sys::Now(), fixed);
}
