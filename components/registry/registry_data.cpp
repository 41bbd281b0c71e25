#include "components/registry/registry_data.h"

#include <algorithm>
#include <cctype>

namespace vornik {

std::size_t CharacterCount(std::string_view text)
{
    return std::size_t(std::count_if(text.begin(), text.end(),
                                     [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string TextOfBytes(const Bytes& data)
{
    return std::string(data.begin(), std::find(data.begin(), data.end(), std::uint8_t(0)));
}

Bytes BytesOfText(std::string_view text, bool withTerminator)
{
    Bytes data(text.begin(), text.end());
    if (withTerminator) data.push_back(0);
    return data;
}

Bytes DwordBytes(std::int32_t number)
{
    const auto bits = static_cast<std::uint32_t>(number);
    return {std::uint8_t(bits), std::uint8_t(bits >> 8), std::uint8_t(bits >> 16), std::uint8_t(bits >> 24)};
}

std::int32_t NumberOfBytes(const Bytes& data)
{
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4 && i < data.size(); ++i) bits |= std::uint32_t(data[i]) << (8 * i);
    return static_cast<std::int32_t>(bits);
}

com::Variant ByteArrayOf(const Bytes& data)
{
    com::SafeArray array{com::VT_VARIANT, 0, {}};
    array.elements.reserve(data.size());
    for (auto byte : data) array.elements.emplace_back(byte);
    return com::Variant(std::move(array));
}

com::Variant VariantArrayOf(const std::vector<std::string>& strings)
{
    com::SafeArray array{com::VT_VARIANT, 0, {}};
    array.elements.reserve(strings.size());
    for (const auto& text : strings) array.elements.emplace_back(text);
    return com::Variant(std::move(array));
}

namespace {

// The low byte of an element's numeric value; nullopt for an element that
// holds no number (text, an object, an error).
std::optional<std::uint8_t> LowByteOf(const com::Variant& element)
{
    const com::Variant& v = element.deref();
    switch (v.type()) {
    case com::VT_EMPTY:
    case com::VT_I2:
    case com::VT_I4:
    case com::VT_UI1:
    case com::VT_BOOL: return std::uint8_t(static_cast<std::uint32_t>(v.toInt32()) & 0xFF);
    case com::VT_R4:
    case com::VT_R8: {
        const double number = v.toDouble();
        if (!(number > -2147483648.5 && number < 2147483647.5)) return std::nullopt;
        return std::uint8_t(static_cast<std::uint32_t>(v.toInt32()) & 0xFF);
    }
    default: return std::nullopt;
    }
}

} // namespace

std::optional<Bytes> BytesOfArray(const com::Variant& value)
{
    if (!value.deref().isArray()) return std::nullopt;
    Bytes bytes;
    for (const auto& element : value.array().elements) {
        const auto byte = LowByteOf(element);
        if (!byte) return std::nullopt;
        bytes.push_back(*byte);
    }
    return bytes;
}

std::optional<Bytes> MultiStringBytes(const std::vector<std::string>& strings)
{
    Bytes data;
    for (const auto& text : strings) {
        if (text.empty()) return std::nullopt;
        data.insert(data.end(), text.begin(), text.end());
        data.push_back(0);
    }
    data.push_back(0);
    return data;
}

std::vector<std::string> StringsOfMultiString(const Bytes& data)
{
    std::vector<std::string> strings;
    auto start = data.begin();
    while (start != data.end()) {
        const auto end = std::find(start, data.end(), std::uint8_t(0));
        if (end == start) break;
        strings.emplace_back(start, end);
        start = end == data.end() ? end : end + 1;
    }
    return strings;
}

std::optional<std::vector<std::string>> StringsOfArray(const com::Variant& value, bool acceptVariants)
{
    const com::Variant& v = value.deref();
    if (!v.isArray()) return std::nullopt;
    const auto& array = v.array();
    if (array.elementType != com::VT_BSTR && !(acceptVariants && array.elementType == com::VT_VARIANT))
        return std::nullopt;
    std::vector<std::string> strings;
    for (const auto& element : array.elements) {
        if (element.deref().type() != com::VT_BSTR) return std::nullopt;
        strings.push_back(element.toString());
    }
    return strings;
}

bool ContainsIgnoringCase(std::string_view data, std::string_view text)
{
    const auto same = [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    };
    return std::search(data.begin(), data.end(), text.begin(), text.end(), same) != data.end();
}

} // namespace vornik
