#include "platform/com/unknown.h"

#include <cstdio>
#include <cstdlib>

namespace com {

namespace {

std::optional<unsigned> hexDigit(char c)
{
    if (c >= '0' && c <= '9') return unsigned(c - '0');
    if (c >= 'a' && c <= 'f') return unsigned(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return unsigned(c - 'A' + 10);
    return std::nullopt;
}

} // namespace

std::optional<GUID> GUID::parse(std::string_view text)
{
    if (text.size() == 38 && text.front() == '{' && text.back() == '}')
        text = text.substr(1, 36);
    if (text.size() != 36 || text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-')
        return std::nullopt;

    std::array<std::uint8_t, 16> bytes{};
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '-') continue;
        auto high = hexDigit(text[i]);
        auto low = i + 1 < text.size() ? hexDigit(text[i + 1]) : std::nullopt;
        if (!high || !low) return std::nullopt;
        bytes[n++] = std::uint8_t(*high << 4 | *low);
        ++i;
    }
    GUID g;
    g.data1 = std::uint32_t(bytes[0]) << 24 | std::uint32_t(bytes[1]) << 16 | std::uint32_t(bytes[2]) << 8 | bytes[3];
    g.data2 = std::uint16_t(bytes[4] << 8 | bytes[5]);
    g.data3 = std::uint16_t(bytes[6] << 8 | bytes[7]);
    for (int i = 0; i < 8; ++i) g.data4[i] = bytes[8 + i];
    return g;
}

std::string GUID::toString() const
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", data1, data2, data3,
                  data4[0], data4[1], data4[2], data4[3], data4[4], data4[5], data4[6], data4[7]);
    return buf;
}

GUID GuidLiteral(std::string_view text)
{
    auto g = GUID::parse(text);
    if (!g) std::abort();
    return *g;
}

const IID IID_IUnknown = GuidLiteral("{00000000-0000-0000-C000-000000000046}");

} // namespace com
