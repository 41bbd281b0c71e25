#pragma once
// Conversions between registry data and the values the component's members
// take and give. Pure functions: no registry access.

#include "platform/com/variant.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vornik {

using Bytes = std::vector<std::uint8_t>;

// Characters of a UTF-8 text (code points), as name limits count them.
std::size_t CharacterCount(std::string_view text);

// The text of string data: the bytes up to the first zero byte, or all of
// them when there is none.
std::string TextOfBytes(const Bytes& data);
// A text as string data, with or without a terminating zero byte.
Bytes BytesOfText(std::string_view text, bool withTerminator);

// REG_DWORD data, little-endian; short data reads as if zero-padded.
Bytes DwordBytes(std::int32_t number);
std::int32_t NumberOfBytes(const Bytes& data);

// Bytes as the component hands them out: an array of VARIANTs, lower bound
// 0, one VT_UI1 element per byte.
com::Variant ByteArrayOf(const Bytes& data);

// Strings as the component hands a list out: an array of VARIANTs, lower
// bound 0, one VT_BSTR element per string.
com::Variant VariantArrayOf(const std::vector<std::string>& strings);

// A byte array from a client: element i gives byte i, the low byte of the
// element's numeric value; any lower bound. nullopt when the value is not an
// array or an element holds no number.
std::optional<Bytes> BytesOfArray(const com::Variant& value);

// REG_MULTI_SZ data: each string followed by a zero, then a final zero.
// nullopt when a string is empty, as it would end the list early.
std::optional<Bytes> MultiStringBytes(const std::vector<std::string>& strings);
// The strings of REG_MULTI_SZ data, up to the first empty one or the end.
std::vector<std::string> StringsOfMultiString(const Bytes& data);

// The strings of an array of strings (VT_ARRAY | VT_BSTR); with
// acceptVariants also of an array of VARIANTs that all hold strings.
std::optional<std::vector<std::string>> StringsOfArray(const com::Variant& value, bool acceptVariants);

// Whether text occurs in data at some offset, letters compared without
// regard to case.
bool ContainsIgnoringCase(std::string_view data, std::string_view text);

} // namespace vornik
