#include "platform/registry/key_names.h"

namespace winreg {

namespace {

constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kMaxValueNameLength = 16383;

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the UTF-8 sequence that starts with lead, 0 for a byte that
// cannot start one.
std::size_t sequenceLength(unsigned char lead)
{
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

bool isValidName(std::string_view name, std::size_t maxLength)
{
    return name.find('\0') == std::string_view::npos && IsValidUtf8(name) && CharacterCount(name) <= maxLength;
}

} // namespace

bool IsValidUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = sequenceLength(lead);
        if (length == 0 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if (!isContinuation(static_cast<unsigned char>(text[i + k]))) return false;
        if (length == 3) {
            const auto second = static_cast<unsigned char>(text[i + 1]);
            if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0)) return false; // overlong, surrogate
        }
        if (length == 4) {
            const auto second = static_cast<unsigned char>(text[i + 1]);
            if ((lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90)) return false; // overlong, too large
        }
        i += length;
    }
    return true;
}

std::size_t CharacterCount(std::string_view utf8)
{
    std::size_t count = 0;
    for (const char c : utf8)
        if (!isContinuation(static_cast<unsigned char>(c))) ++count;
    return count;
}

std::variant<std::vector<std::string>, Status> ParseKeyPath(std::string_view path)
{
    std::vector<std::string> names;
    if (path.empty()) return names;
    if (path.front() == '\\') return ERROR_BAD_PATHNAME;
    if (path.back() == '\\') path.remove_suffix(1);
    while (true) {
        const auto separator = path.find('\\');
        const std::string_view name = path.substr(0, separator);
        if (name.empty()) return ERROR_BAD_PATHNAME;
        if (!isValidName(name, kMaxKeyNameLength)) return ERROR_INVALID_PARAMETER;
        names.emplace_back(name);
        if (separator == std::string_view::npos) return names;
        path.remove_prefix(separator + 1);
    }
}

Status CheckValueName(std::string_view name)
{
    return isValidName(name, kMaxValueNameLength) ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;
}

} // namespace winreg
