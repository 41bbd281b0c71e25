#include "platform/sys/datetime.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace sys {

namespace {

std::function<DateTime()>& clockOverride()
{
    static std::function<DateTime()> clock;
    return clock;
}

constexpr std::int64_t kSecondsPerDay = 86400;

} // namespace

DateTime MakeDateTime(const DateParts& p)
{
    using namespace std::chrono;
    const sys_days day = year_month_day{year{p.year}, month{unsigned(p.month)}, std::chrono::day{unsigned(p.day)}};
    return DateTime{day.time_since_epoch().count() * kSecondsPerDay + p.hour * 3600 + p.minute * 60 + p.second};
}

DateParts SplitDateTime(DateTime t)
{
    using namespace std::chrono;
    std::int64_t days = t.seconds / kSecondsPerDay;
    std::int64_t rest = t.seconds % kSecondsPerDay;
    if (rest < 0) { rest += kSecondsPerDay; --days; }
    const year_month_day ymd{sys_days{std::chrono::days{days}}};
    return DateParts{int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day())),
                     int(rest / 3600), int(rest % 3600 / 60), int(rest % 60)};
}

DateTime Now()
{
    if (auto& clock = clockOverride()) return clock();
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return MakeDateTime({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec});
}

void SetClockForTesting(std::function<DateTime()> clock) { clockOverride() = std::move(clock); }

std::string GeneralDateText(DateTime t)
{
    const DateParts p = SplitDateTime(t);
    char buf[64];
    if (p.hour == 0 && p.minute == 0 && p.second == 0) {
        std::snprintf(buf, sizeof buf, "%d/%d/%d", p.month, p.day, p.year);
    } else {
        const int hour12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
        std::snprintf(buf, sizeof buf, "%d/%d/%d %d:%02d:%02d %s", p.month, p.day, p.year, hour12, p.minute,
                      p.second, p.hour < 12 ? "AM" : "PM");
    }
    return buf;
}

std::optional<DateTime> ParseGeneralDate(std::string_view text)
{
    const std::string s(text);
    int month = 0, day = 0, year = 0, hour = 0, minute = 0, second = 0, used = 0;
    char designator[3] = {};
    if (std::sscanf(s.c_str(), " %d/%d/%d%n", &month, &day, &year, &used) != 3) return std::nullopt;
    const std::string rest = s.substr(std::size_t(used));
    if (rest.find_first_not_of(' ') != std::string::npos) {
        int timeUsed = 0;
        if (std::sscanf(rest.c_str(), " %d:%d:%d %2[AaPpMm]%n", &hour, &minute, &second, designator, &timeUsed) != 4)
            return std::nullopt;
        if (rest.find_first_not_of(' ', std::size_t(timeUsed)) != std::string::npos) return std::nullopt;
        if (hour < 1 || hour > 12 || minute > 59 || second > 59 || minute < 0 || second < 0) return std::nullopt;
        const bool pm = designator[0] == 'P' || designator[0] == 'p';
        hour = hour % 12 + (pm ? 12 : 0);
    }
    using namespace std::chrono;
    const year_month_day ymd{std::chrono::year{year}, std::chrono::month{unsigned(month)}, std::chrono::day{unsigned(day)}};
    if (!ymd.ok()) return std::nullopt;
    return MakeDateTime({year, month, day, hour, minute, second});
}

} // namespace sys
