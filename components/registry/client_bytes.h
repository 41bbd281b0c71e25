#pragma once
// Byte arrays handed in by clients.

#include "components/registry/registry_data.h"

#include <optional>

namespace vornik {

// The bytes of a client's byte array; nullopt when the value is not an array
// or an element holds no number. The latter means the array's data cannot be
// read as bytes, and is recorded in the component's log.
std::optional<Bytes> ClientBytes(const com::Variant& value);

} // namespace vornik
