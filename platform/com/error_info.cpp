#include "platform/com/error_info.h"

#include <utility>

namespace com {

namespace {

thread_local std::optional<ErrorInfo> currentError;

} // namespace

void SetErrorInfo(std::optional<ErrorInfo> info) { currentError = std::move(info); }

std::optional<ErrorInfo> GetErrorInfo() { return std::exchange(currentError, std::nullopt); }

} // namespace com
