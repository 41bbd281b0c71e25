#pragma once

#include <cstdint>
#include <string>

// A content size as the report shows it: up to 1024 bytes the number and
// " Bytes"; above, the kilobytes rounded to one decimal (halves to the even
// digit), without a trailing zero, in the user's number format, and " KB":
// 1024 gives "1024 Bytes", 1025 "1 KB", 1280 "1.2 KB" ("1,2 KB" where the
// decimal separator is a comma), 1536 "1.5 KB".
std::string SizeText(std::int64_t bytes);
