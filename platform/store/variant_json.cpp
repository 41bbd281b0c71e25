#include "platform/store/variant_json.h"

#include "platform/store/errors.h"

#include <array>
#include <string_view>

namespace store {

namespace {

struct TypeName {
    com::VarType type;
    std::string_view name;
};

constexpr std::array<TypeName, 11> kTypeNames{{
    {com::VT_EMPTY, "empty"},
    {com::VT_NULL, "null"},
    {com::VT_BOOL, "bool"},
    {com::VT_I2, "i2"},
    {com::VT_I4, "i4"},
    {com::VT_UI1, "ui1"},
    {com::VT_R4, "r4"},
    {com::VT_R8, "r8"},
    {com::VT_DATE, "date"},
    {com::VT_BSTR, "string"},
    {com::VT_VARIANT, "variant"},
}};

[[noreturn]] void cannotStore()
{
    throw com::ComError(com::DISP_E_TYPEMISMATCH, "Type mismatch: the value cannot be stored");
}

[[noreturn]] void damaged()
{
    throw DamagedItem("a property value cannot be read");
}

std::string_view typeName(com::VarType type)
{
    for (const TypeName& entry : kTypeNames)
        if (entry.type == type) return entry.name;
    cannotStore();
}

com::VarType typeFromName(const nlohmann::json& json)
{
    if (!json.is_string()) damaged();
    const std::string& name = json.get_ref<const std::string&>();
    for (const TypeName& entry : kTypeNames)
        if (entry.name == name) return entry.type;
    damaged();
}

nlohmann::json scalarValue(const com::Variant& value, com::VarType type)
{
    switch (type) {
    case com::VT_EMPTY:
    case com::VT_NULL: return nullptr;
    case com::VT_BOOL: return value.toBool();
    case com::VT_I2:
    case com::VT_I4:
    case com::VT_UI1: return value.toInt32();
    case com::VT_R4:
    case com::VT_R8: return value.toDouble();
    case com::VT_DATE: return value.toDate().seconds;
    case com::VT_BSTR: return value.toString();
    default: cannotStore();
    }
}

com::Variant scalarFromJson(com::VarType type, const nlohmann::json& value)
{
    switch (type) {
    case com::VT_EMPTY: return {};
    case com::VT_NULL: return com::Variant::Null();
    case com::VT_BOOL:
        if (!value.is_boolean()) damaged();
        return value.get<bool>();
    case com::VT_I2:
        if (!value.is_number_integer()) damaged();
        return value.get<std::int16_t>();
    case com::VT_I4:
        if (!value.is_number_integer()) damaged();
        return value.get<std::int32_t>();
    case com::VT_UI1:
        if (!value.is_number_integer()) damaged();
        return value.get<std::uint8_t>();
    case com::VT_R4:
        if (!value.is_number()) damaged();
        return value.get<float>();
    case com::VT_R8:
        if (!value.is_number()) damaged();
        return value.get<double>();
    case com::VT_DATE:
        if (!value.is_number_integer()) damaged();
        return sys::DateTime{value.get<std::int64_t>()};
    case com::VT_BSTR:
        if (!value.is_string()) damaged();
        return value.get<std::string>();
    default: damaged();
    }
}

} // namespace

nlohmann::json VariantToJson(const com::Variant& variant)
{
    const com::Variant& value = variant.deref();
    if (value.isArray()) {
        const com::SafeArray& array = value.array();
        // Elements of one declared type are kept as bare values of that type.
        const bool typed = array.elementType != com::VT_VARIANT;
        nlohmann::json elements = nlohmann::json::array();
        for (const com::Variant& element : array.elements)
            elements.push_back(typed ? scalarValue(element, array.elementType) : VariantToJson(element));
        return {{"type", "array"},
                {"elementType", typeName(array.elementType)},
                {"lowerBound", array.lowerBound},
                {"value", std::move(elements)}};
    }
    const com::VarType type = value.type();
    return {{"type", typeName(type)}, {"value", scalarValue(value, type)}};
}

com::Variant VariantFromJson(const nlohmann::json& json)
{
    if (!json.is_object() || !json.contains("type")) damaged();
    if (json["type"] == "array") {
        const auto lowerBound = json.find("lowerBound");
        const auto elements = json.find("value");
        if (lowerBound == json.end() || !lowerBound->is_number_integer() || elements == json.end()
            || !elements->is_array() || !json.contains("elementType"))
            damaged();
        com::SafeArray array{typeFromName(json["elementType"]), lowerBound->get<std::int32_t>(), {}};
        const bool typed = array.elementType != com::VT_VARIANT;
        for (const nlohmann::json& element : *elements)
            array.elements.push_back(typed ? scalarFromJson(array.elementType, element) : VariantFromJson(element));
        return com::Variant(std::move(array));
    }
    const auto value = json.find("value");
    return scalarFromJson(typeFromName(json["type"]), value == json.end() ? nlohmann::json() : *value);
}

nlohmann::ordered_json VariantToPlainJson(const com::Variant& variant)
{
    const com::Variant& value = variant.deref();
    if (value.isArray()) {
        nlohmann::ordered_json elements = nlohmann::ordered_json::array();
        for (const com::Variant& element : value.array().elements) elements.push_back(VariantToPlainJson(element));
        return elements;
    }
    switch (value.type()) {
    case com::VT_EMPTY:
    case com::VT_NULL: return nullptr;
    case com::VT_BOOL: return value.toBool();
    case com::VT_I2:
    case com::VT_I4:
    case com::VT_UI1: return value.toInt32();
    case com::VT_R4:
    case com::VT_R8: return value.toDouble();
    default: return value.toString();
    }
}

} // namespace store
