#pragma once
// The error object of the calling thread: what the last failing member call
// reported (its text, the ProgID of the reporting class and the interface it
// was called through). A component sets it before it fails; the caller takes
// it after the failure.

#include "platform/com/unknown.h"

#include <optional>
#include <string>

namespace com {

struct ErrorInfo {
    std::string description;
    std::string source; // the reporting class's ProgID; empty for a class without one
    IID iid;
};

// Replaces this thread's error object; nullopt clears it.
void SetErrorInfo(std::optional<ErrorInfo> info);
// Takes this thread's error object, leaving none behind.
std::optional<ErrorInfo> GetErrorInfo();

} // namespace com
