#pragma once
// Local wall-clock date and time, and the one general date text that the log,
// the report and the progress dialog all show (en-US: "12/7/2026 10:44:30 PM",
// the date alone at exactly midnight).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace sys {

// Seconds since 1970-01-01 00:00:00 of the local wall clock (no time zone).
struct DateTime {
    std::int64_t seconds = 0;
    friend auto operator<=>(const DateTime&, const DateTime&) = default;
};

struct DateParts {
    int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

DateTime MakeDateTime(const DateParts& parts);
DateParts SplitDateTime(DateTime t);

// The current local time; tests may replace the clock.
DateTime Now();
void SetClockForTesting(std::function<DateTime()> clock); // empty restores the real clock

std::string GeneralDateText(DateTime t);
// Reads a general date text back ("M/D/YYYY", optionally " h:mm:ss AM|PM");
// empty when the text is not a date.
std::optional<DateTime> ParseGeneralDate(std::string_view text);

} // namespace sys
