#include "platform/com/variant.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <utility>
#include <strings.h>

namespace com {

namespace {

[[noreturn]] void typeMismatch() { throw ComError(DISP_E_TYPEMISMATCH, "Type mismatch"); }

std::string numberText(double value, int digits)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*g", digits, value);
    return buf;
}

std::optional<double> parseNumber(const std::string& text)
{
    const char* begin = text.c_str();
    while (*begin == ' ') ++begin;
    if (!*begin) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(begin, &end);
    while (*end == ' ') ++end;
    if (*end) return std::nullopt;
    return value;
}

// Rounds halves to the even neighbour, as integer conversion does.
std::int32_t roundToInt32(double value)
{
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() && rounded <= std::numeric_limits<std::int32_t>::max()))
        throw ComError(MakeHResult(0x800A0006), "Overflow");
    return std::int32_t(rounded);
}

} // namespace

const Variant& SafeArray::at(std::int32_t index) const
{
    if (index < lowerBound || index > upperBound())
        throw ComError(MakeHResult(0x8002000B), "Subscript out of range");
    return elements[std::size_t(index - lowerBound)];
}

Variant::Variant() = default;
Variant::~Variant() = default;

Variant::Variant(const Variant& other) { copyFrom(other); }

Variant::Variant(Variant&& other) noexcept
    : kind_(other.kind_), s_(other.s_), text_(std::move(other.text_)), array_(std::move(other.array_)),
      object_(std::move(other.object_))
{
    other.kind_ = VT_EMPTY;
}

Variant& Variant::operator=(const Variant& other)
{
    if (this != &other) {
        Variant copy(other);
        *this = std::move(copy);
    }
    return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept
{
    if (this != &other) {
        kind_ = std::exchange(other.kind_, VT_EMPTY);
        s_ = other.s_;
        text_ = std::move(other.text_);
        array_ = std::move(other.array_);
        object_ = std::move(other.object_);
    }
    return *this;
}

void Variant::copyFrom(const Variant& other)
{
    kind_ = other.kind_;
    s_ = other.s_;
    text_ = other.text_;
    if (other.array_) array_ = std::make_unique<SafeArray>(*other.array_);
    object_ = other.object_;
}

Variant::Variant(bool value) : kind_(VT_BOOL) { s_.b_ = value; }
Variant::Variant(std::int16_t value) : kind_(VT_I2) { s_.i2_ = value; }
Variant::Variant(std::int32_t value) : kind_(VT_I4) { s_.i4_ = value; }
Variant::Variant(std::uint8_t value) : kind_(VT_UI1) { s_.ui1_ = value; }
Variant::Variant(float value) : kind_(VT_R4) { s_.r4_ = value; }
Variant::Variant(double value) : kind_(VT_R8) { s_.r8_ = value; }
Variant::Variant(std::string value) : kind_(VT_BSTR), text_(std::move(value)) {}
Variant::Variant(const char* value) : Variant(std::string(value ? value : "")) {}
Variant::Variant(sys::DateTime value) : kind_(VT_DATE) { s_.date_ = value.seconds; }
Variant::Variant(SafeArray value) : kind_(VT_ARRAY), array_(std::make_unique<SafeArray>(std::move(value))) {}

Variant Variant::Null()
{
    Variant v;
    v.kind_ = VT_NULL;
    return v;
}

Variant Variant::Missing() { return Error(DISP_E_PARAMNOTFOUND); }

Variant Variant::Error(HRESULT code)
{
    Variant v;
    v.kind_ = VT_ERROR;
    v.s_.error_ = code;
    return v;
}

Variant Variant::Object(ComPtr<IUnknown> object, bool dispatch)
{
    Variant v;
    v.kind_ = dispatch ? VT_DISPATCH : VT_UNKNOWN;
    v.object_ = std::move(object);
    return v;
}

Variant Variant::ByRef(Variant* target)
{
    Variant v;
    v.kind_ = VT_BYREF;
    v.s_.ref_ = target;
    return v;
}

Variant Variant::StringArray(const std::vector<std::string>& values)
{
    SafeArray array{VT_BSTR, 0, {}};
    array.elements.reserve(values.size());
    for (const auto& value : values) array.elements.emplace_back(value);
    return Variant(std::move(array));
}

VarType Variant::type() const
{
    if (kind_ == VT_ARRAY) return VarType(VT_ARRAY | array_->elementType);
    if (kind_ == VT_BYREF) return VarType(VT_BYREF | (s_.ref_ ? s_.ref_->type() : VT_EMPTY));
    return kind_;
}

bool Variant::isMissing() const { return kind_ == VT_ERROR && s_.error_ == DISP_E_PARAMNOTFOUND; }

const Variant& Variant::deref() const { return kind_ == VT_BYREF && s_.ref_ ? *s_.ref_ : *this; }

std::string Variant::toString() const
{
    const Variant& v = deref();
    switch (v.kind_) {
    case VT_EMPTY: return {};
    case VT_BSTR: return v.text_;
    case VT_BOOL: return v.s_.b_ ? "True" : "False";
    case VT_I2: return std::to_string(v.s_.i2_);
    case VT_I4: return std::to_string(v.s_.i4_);
    case VT_UI1: return std::to_string(v.s_.ui1_);
    case VT_R4: return numberText(v.s_.r4_, 7);
    case VT_R8: return numberText(v.s_.r8_, 15);
    case VT_DATE: return sys::GeneralDateText(sys::DateTime{v.s_.date_});
    case VT_ERROR: return "Error " + std::to_string(v.s_.error_);
    default: typeMismatch();
    }
}

double Variant::toDouble() const
{
    const Variant& v = deref();
    switch (v.kind_) {
    case VT_EMPTY: return 0;
    case VT_BOOL: return v.s_.b_ ? -1 : 0;
    case VT_I2: return v.s_.i2_;
    case VT_I4: return v.s_.i4_;
    case VT_UI1: return v.s_.ui1_;
    case VT_R4: return v.s_.r4_;
    case VT_R8: return v.s_.r8_;
    case VT_BSTR:
        if (auto number = parseNumber(v.text_)) return *number;
        typeMismatch();
    default: typeMismatch();
    }
}

std::int32_t Variant::toInt32() const
{
    const Variant& v = deref();
    if (v.kind_ == VT_I4) return v.s_.i4_;
    return roundToInt32(v.toDouble());
}

bool Variant::toBool() const
{
    const Variant& v = deref();
    switch (v.kind_) {
    case VT_BOOL: return v.s_.b_;
    case VT_BSTR:
        if (strcasecmp(v.text_.c_str(), "true") == 0) return true;
        if (strcasecmp(v.text_.c_str(), "false") == 0) return false;
        return v.toDouble() != 0;
    default: return v.toDouble() != 0;
    }
}

sys::DateTime Variant::toDate() const
{
    const Variant& v = deref();
    if (v.kind_ == VT_DATE) return sys::DateTime{v.s_.date_};
    if (v.kind_ == VT_BSTR)
        if (auto date = sys::ParseGeneralDate(v.text_)) return *date;
    typeMismatch();
}

const SafeArray& Variant::array() const
{
    const Variant& v = deref();
    if (v.kind_ != VT_ARRAY) typeMismatch();
    return *v.array_;
}

SafeArray& Variant::array()
{
    Variant& v = kind_ == VT_BYREF && s_.ref_ ? *s_.ref_ : *this;
    if (v.kind_ != VT_ARRAY) typeMismatch();
    return *v.array_;
}

ComPtr<IUnknown> Variant::object() const { return deref().object_; }

HRESULT Variant::errorCode() const { return kind_ == VT_ERROR ? s_.error_ : S_OK; }

Variant* Variant::target() const { return kind_ == VT_BYREF ? s_.ref_ : nullptr; }

bool operator==(const Variant& a, const Variant& b)
{
    if (a.kind_ != b.kind_) return false;
    switch (a.kind_) {
    case VT_EMPTY:
    case VT_NULL: return true;
    case VT_BOOL: return a.s_.b_ == b.s_.b_;
    case VT_I2: return a.s_.i2_ == b.s_.i2_;
    case VT_I4: return a.s_.i4_ == b.s_.i4_;
    case VT_UI1: return a.s_.ui1_ == b.s_.ui1_;
    case VT_R4: return a.s_.r4_ == b.s_.r4_;
    case VT_R8: return a.s_.r8_ == b.s_.r8_;
    case VT_DATE: return a.s_.date_ == b.s_.date_;
    case VT_ERROR: return a.s_.error_ == b.s_.error_;
    case VT_BSTR: return a.text_ == b.text_;
    case VT_BYREF: return a.s_.ref_ == b.s_.ref_;
    case VT_ARRAY:
        return a.array_->elementType == b.array_->elementType && a.array_->lowerBound == b.array_->lowerBound &&
               a.array_->elements == b.array_->elements;
    default: return a.object_ == b.object_;
    }
}

} // namespace com
