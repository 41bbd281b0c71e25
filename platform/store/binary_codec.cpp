#include "platform/store/binary_codec.h"

#include "platform/store/errors.h"

#include <bit>
#include <limits>

namespace store {

namespace {

// The type byte of an array; scalars are marked by their own type number.
constexpr std::uint8_t kArrayMark = 0x20;
// Arrays of Variants may hold arrays; deeper nesting than this is refused
// when written and reported damaged when read.
constexpr int kMaximumDepth = 32;

bool isStorableType(com::VarType type)
{
    switch (type) {
    case com::VT_EMPTY:
    case com::VT_NULL:
    case com::VT_BOOL:
    case com::VT_I2:
    case com::VT_I4:
    case com::VT_UI1:
    case com::VT_R4:
    case com::VT_R8:
    case com::VT_DATE:
    case com::VT_BSTR: return true;
    default: return false;
    }
}

[[noreturn]] void cannotStore()
{
    throw com::ComError(com::DISP_E_TYPEMISMATCH, "Type mismatch: the value cannot be stored");
}

[[noreturn]] void damaged()
{
    throw DamagedItem("its metadata cannot be read");
}

template <class Number>
Number within(std::int64_t value)
{
    if (value < std::numeric_limits<Number>::min() || value > std::numeric_limits<Number>::max()) damaged();
    return Number(value);
}

} // namespace

void ByteWriter::putUnsigned(std::uint64_t value)
{
    while (value >= 0x80) {
        putByte(std::uint8_t(value | 0x80));
        value >>= 7;
    }
    putByte(std::uint8_t(value));
}

void ByteWriter::putSigned(std::int64_t value)
{
    putUnsigned((std::uint64_t(value) << 1) ^ std::uint64_t(value >> 63));
}

void ByteWriter::putText(std::string_view text)
{
    putUnsigned(text.size());
    bytes_ += text;
}

void ByteWriter::putFixed(std::uint64_t value, int size)
{
    for (int i = 0; i < size; ++i) putByte(std::uint8_t(value >> (8 * i)));
}

void ByteWriter::putVariant(const com::Variant& value)
{
    putVariantAt(value, 0);
}

void ByteWriter::putVariantAt(const com::Variant& value, int depth)
{
    const com::Variant& stored = value.deref();
    if (!stored.isArray()) {
        const com::VarType type = stored.type();
        if (!isStorableType(type)) cannotStore();
        putByte(std::uint8_t(type));
        putScalar(stored, type);
        return;
    }
    const com::SafeArray& array = stored.array();
    const bool typed = array.elementType != com::VT_VARIANT;
    if ((typed && !isStorableType(array.elementType)) || depth >= kMaximumDepth) cannotStore();
    putByte(kArrayMark);
    putByte(std::uint8_t(array.elementType));
    putSigned(array.lowerBound);
    putUnsigned(array.elements.size());
    for (const com::Variant& element : array.elements) {
        if (typed) putScalar(element, array.elementType);
        else putVariantAt(element, depth + 1);
    }
}

// Every value takes at least one byte, so that no count read can ask for
// more elements than there are bytes.
void ByteWriter::putScalar(const com::Variant& value, com::VarType type)
{
    switch (type) {
    case com::VT_EMPTY:
    case com::VT_NULL: putByte(0); return;
    case com::VT_BOOL: putByte(value.toBool() ? 1 : 0); return;
    case com::VT_I2: putSigned(std::int16_t(value.toInt32())); return;
    case com::VT_I4: putSigned(value.toInt32()); return;
    case com::VT_UI1: putSigned(std::uint8_t(value.toInt32())); return;
    case com::VT_R4: putFixed(std::bit_cast<std::uint32_t>(float(value.toDouble())), 4); return;
    case com::VT_R8: putFixed(std::bit_cast<std::uint64_t>(value.toDouble()), 8); return;
    case com::VT_DATE: putSigned(value.toDate().seconds); return;
    case com::VT_BSTR: putText(value.toString()); return;
    default: cannotStore();
    }
}

std::string_view ByteReader::take(std::size_t size)
{
    if (size > rest_.size()) damaged();
    const std::string_view taken = rest_.substr(0, size);
    rest_.remove_prefix(size);
    return taken;
}

std::uint8_t ByteReader::byte()
{
    return static_cast<std::uint8_t>(take(1)[0]);
}

std::uint64_t ByteReader::unsignedNumber()
{
    std::uint64_t value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        const std::uint8_t next = byte();
        if (shift == 63 && next > 1) damaged();
        value |= std::uint64_t(next & 0x7F) << shift;
        if ((next & 0x80) == 0) return value;
    }
    damaged();
}

std::int64_t ByteReader::signedNumber()
{
    const std::uint64_t zigzag = unsignedNumber();
    return std::int64_t(zigzag >> 1) ^ -std::int64_t(zigzag & 1);
}

std::int32_t ByteReader::int32()
{
    return within<std::int32_t>(signedNumber());
}

std::string ByteReader::text()
{
    const std::uint64_t size = unsignedNumber();
    if (size > rest_.size()) damaged();
    return std::string(take(std::size_t(size)));
}

std::uint64_t ByteReader::fixed(int size)
{
    const std::string_view bytes = take(std::size_t(size));
    std::uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[std::size_t(i)]);
    return value;
}

com::Variant ByteReader::variant()
{
    return variantAt(0);
}

com::Variant ByteReader::variantAt(int depth)
{
    const std::uint8_t mark = byte();
    if (mark != kArrayMark) {
        const auto type = com::VarType(mark);
        if (!isStorableType(type)) damaged();
        return scalar(type);
    }
    if (depth >= kMaximumDepth) damaged();
    com::SafeArray array{com::VarType(byte()), int32(), {}};
    const bool typed = array.elementType != com::VT_VARIANT;
    if (typed && !isStorableType(array.elementType)) damaged();
    const std::uint64_t count = unsignedNumber();
    if (count > rest_.size()) damaged();
    array.elements.reserve(std::size_t(count));
    for (std::uint64_t i = 0; i < count; ++i)
        array.elements.push_back(typed ? scalar(array.elementType) : variantAt(depth + 1));
    return com::Variant(std::move(array));
}

com::Variant ByteReader::scalar(com::VarType type)
{
    switch (type) {
    case com::VT_EMPTY:
    case com::VT_NULL:
        if (byte() != 0) damaged();
        return type == com::VT_NULL ? com::Variant::Null() : com::Variant();
    case com::VT_BOOL: {
        const std::uint8_t value = byte();
        if (value > 1) damaged();
        return value == 1;
    }
    case com::VT_I2: return within<std::int16_t>(signedNumber());
    case com::VT_I4: return int32();
    case com::VT_UI1: return within<std::uint8_t>(signedNumber());
    case com::VT_R4: return std::bit_cast<float>(std::uint32_t(fixed(4)));
    case com::VT_R8: return std::bit_cast<double>(fixed(8));
    case com::VT_DATE: return sys::DateTime{signedNumber()};
    case com::VT_BSTR: return text();
    default: damaged();
    }
}

} // namespace store
