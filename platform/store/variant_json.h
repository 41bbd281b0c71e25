#pragma once
// Property values as the store files keep them: each value with its type, so
// that a value read back is the value written (a 32-bit integer stays one, a
// date stays a date, an array keeps its bounds and element type).

#include "platform/com/variant.h"

#include <nlohmann/json.hpp>

namespace store {

// {"type": "i4", "value": 7}, {"type": "array", "elementType": "string",
// "lowerBound": 0, "value": [...]}. Objects, references to objects and error
// values cannot be stored: ComError(DISP_E_TYPEMISMATCH).
nlohmann::json VariantToJson(const com::Variant& value);
// ComError(errDamagedItem) for JSON that no VariantToJson made.
com::Variant VariantFromJson(const nlohmann::json& json);

// The value as plain JSON for people to read: texts, numbers, Booleans, dates
// as their general date text, arrays as arrays, empty and null as null.
nlohmann::ordered_json VariantToPlainJson(const com::Variant& value);

} // namespace store
