#include "components/registry/component_log.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace vornik {

std::string ComponentLogEntry(const sys::DateParts& time, const std::string& message)
{
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "%02d/%02d/%d %02d:%02d:%02d", time.day, time.month, time.year, time.hour,
                  time.minute, time.second);
    return std::string(stamp) + ", " + message + "\r\n=========================\r\n";
}

void WriteComponentLog(const std::string& message)
{
    const auto entry = ComponentLogEntry(sys::SplitDateTime(sys::Now()), message);

    const int file = ::open("Tolvane.log", O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (file < 0) return;
    // One write of the whole entry, so that entries never interleave.
    [[maybe_unused]] const auto written = ::write(file, entry.data(), entry.size());
    ::close(file);
}

} // namespace vornik
