#include "app/engine/runtime_values.h"

#include "app/core/runtime_errors.h"
#include "platform/net/case_fold.h"

#include <cmath>
#include <cstdlib>
#include <optional>

namespace {

std::optional<double> ParseNumber(std::string_view text)
{
    const std::string trimmed = Trim(text);
    if (trimmed.empty()) return std::nullopt;
    char* end = nullptr;
    const double number = std::strtod(trimmed.c_str(), &end);
    if (end != trimmed.c_str() + trimmed.size() || !std::isfinite(number)) return std::nullopt;
    return number;
}

} // namespace

double NumberFromText(std::string_view text)
{
    const auto number = ParseNumber(text);
    if (!number) RaiseRuntimeError(kTypeMismatch);
    return *number;
}

int IntegerFromText(std::string_view text)
{
    const double rounded = std::nearbyint(NumberFromText(text));
    if (rounded < -2147483648.0 || rounded > 2147483647.0) RaiseRuntimeError(kOverflow);
    return static_cast<int>(rounded);
}

bool TextIsNumber(std::string_view text, double number)
{
    const auto parsed = ParseNumber(text);
    return parsed && *parsed == number;
}

double Divide(double dividend, double divisor)
{
    if (divisor == 0) RaiseRuntimeError(kDivisionByZero);
    return dividend / divisor;
}

std::string Trim(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

bool ContainsIgnoringCase(std::string_view text, std::string_view part)
{
    return net::CaseFold(text).find(net::CaseFold(part)) != std::string::npos;
}
