#pragma once
// The tagged value that crosses every late-bound call, fills record-set
// fields and holds store properties: empty, null, integers, Booleans, text,
// dates, objects, one-dimensional arrays and references to another value.

#include "platform/com/unknown.h"
#include "platform/sys/datetime.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace com {

enum VarType : std::uint16_t {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_UI1 = 17,
    VT_ARRAY = 0x2000,
    VT_BYREF = 0x4000,
};

class Variant;

// A one-dimensional array. Arrays made here start at 0; arrays from callers may
// start anywhere. elementType is VT_VARIANT for an array of Variants, or the
// one type every element has (VT_BSTR for an array of strings).
struct SafeArray {
    VarType elementType = VT_VARIANT;
    std::int32_t lowerBound = 0;
    std::vector<Variant> elements;

    std::int32_t upperBound() const { return lowerBound + std::int32_t(elements.size()) - 1; }
    const Variant& at(std::int32_t index) const; // by bound-relative index; throws DISP_E_BADINDEX-like ComError
};

class Variant {
public:
    Variant();
    Variant(const Variant& other);
    Variant(Variant&& other) noexcept;
    Variant& operator=(const Variant& other);
    Variant& operator=(Variant&& other) noexcept;
    ~Variant();

    Variant(bool value);
    Variant(std::int16_t value);
    Variant(std::int32_t value);
    Variant(std::uint8_t value);
    Variant(float value);
    Variant(double value);
    Variant(std::string value);
    Variant(const char* value);
    Variant(sys::DateTime value);
    Variant(SafeArray value);

    static Variant Null();
    // An optional argument the caller left out.
    static Variant Missing();
    static Variant Error(HRESULT code);
    // An object reference; object must have come from an IDispatch pointer when
    // dispatch is true, so that it may be cast back to one.
    static Variant Object(ComPtr<IUnknown> object, bool dispatch = true);
    // A by-reference argument: the callee reads and writes *target.
    static Variant ByRef(Variant* target);
    // An array of strings (VT_ARRAY | VT_BSTR), lower bound 0.
    static Variant StringArray(const std::vector<std::string>& values);

    // The full type: VT_ARRAY | element type for arrays, VT_BYREF | the
    // target's type for references.
    VarType type() const;
    bool isEmpty() const { return kind_ == VT_EMPTY; }
    bool isNull() const { return kind_ == VT_NULL; }
    bool isMissing() const;
    bool isArray() const { return kind_ == VT_ARRAY; }
    bool isByRef() const { return kind_ == VT_BYREF; }
    bool isObject() const { return kind_ == VT_DISPATCH || kind_ == VT_UNKNOWN; }

    // Conversions in the way an automation client converts; a value that does
    // not convert throws ComError(DISP_E_TYPEMISMATCH, "Type mismatch").
    // A by-reference value converts its target.
    std::string toString() const;
    std::int32_t toInt32() const;
    double toDouble() const;
    bool toBool() const;
    sys::DateTime toDate() const;

    const SafeArray& array() const; // throws when not an array
    SafeArray& array();
    ComPtr<IUnknown> object() const; // empty unless an object
    HRESULT errorCode() const;       // VT_ERROR only
    Variant* target() const;         // VT_BYREF only
    // The value itself, or the target of a reference.
    const Variant& deref() const;

    friend bool operator==(const Variant& a, const Variant& b);

private:
    void copyFrom(const Variant& other);

    VarType kind_ = VT_EMPTY; // the scalar type, VT_ARRAY or VT_BYREF
    union Scalar {
        bool b_;
        std::int16_t i2_;
        std::int32_t i4_;
        std::uint8_t ui1_;
        float r4_;
        double r8_;
        std::int64_t date_;
        HRESULT error_;
        Variant* ref_;
    };
    Scalar s_{};
    std::string text_;                  // VT_BSTR
    std::unique_ptr<SafeArray> array_;  // VT_ARRAY
    ComPtr<IUnknown> object_;           // VT_DISPATCH / VT_UNKNOWN
};

} // namespace com
