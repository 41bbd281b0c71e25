#include "app/engine/size_text.h"

#include "platform/sys/system_info.h"

std::string SizeText(std::int64_t bytes)
{
    if (bytes <= 1024) return std::to_string(bytes) + " Bytes";

    // Tenths of a kilobyte, rounded half to even in whole numbers, so that no
    // binary fraction can tip a tie.
    const std::int64_t scaled = bytes * 10;
    std::int64_t tenths = scaled / 1024;
    const std::int64_t remainder = scaled % 1024;
    if (remainder * 2 > 1024 || (remainder * 2 == 1024 && tenths % 2 != 0)) ++tenths;

    std::string text = std::to_string(tenths / 10);
    if (tenths % 10 != 0) text += sys::DecimalSeparator() + std::to_string(tenths % 10);
    return text + " KB";
}
