#pragma once
// The component's own log, "Tolvane.log" in the process's current folder.

#include "platform/sys/datetime.h"

#include <string>

namespace vornik {

// "dd/mm/yyyy hh:mm:ss, <message>\r\n" and a line of 25 "=" appended to the
// log; dropped when the file cannot be opened.
void WriteComponentLog(const std::string& message);

// The text of one entry at the given time.
std::string ComponentLogEntry(const sys::DateParts& time, const std::string& message);

} // namespace vornik
