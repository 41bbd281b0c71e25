#pragma once
// A compact binary form for item metadata, quick to read: numbers as
// variable-length integers (signed ones zigzag-mapped), texts with their
// length first, property values with their type. Reading checks every length
// against the bytes there are.

#include "platform/com/variant.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace store {

class ByteWriter {
public:
    void putByte(std::uint8_t byte) { bytes_ += char(byte); }
    void putUnsigned(std::uint64_t value);
    void putSigned(std::int64_t value);
    void putText(std::string_view text);
    // A value with its type, as the store keeps property values. Objects,
    // references to objects and error values cannot be stored:
    // ComError(DISP_E_TYPEMISMATCH).
    void putVariant(const com::Variant& value);

    std::string take() { return std::move(bytes_); }

private:
    void putFixed(std::uint64_t value, int size);
    void putVariantAt(const com::Variant& value, int depth);
    void putScalar(const com::Variant& value, com::VarType type);

    std::string bytes_;
};

// Every read past the end or of bytes no ByteWriter made throws
// ComError(errDamagedItem).
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : rest_(bytes) {}

    bool atEnd() const { return rest_.empty(); }
    std::uint8_t byte();
    std::uint64_t unsignedNumber();
    std::int64_t signedNumber();
    std::int32_t int32();
    std::string text();
    com::Variant variant();

private:
    std::string_view take(std::size_t size);
    std::uint64_t fixed(int size);
    com::Variant variantAt(int depth);
    com::Variant scalar(com::VarType type);

    std::string_view rest_;
};

} // namespace store
