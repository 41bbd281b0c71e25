#pragma once
// The shapes in which the members hand back lists and counts: a VARIANT
// holding a one-dimensional array of VARIANTs with lower bound 0, and a
// 32-bit integer.

#include "platform/com/variant.h"

#include <cstddef>
#include <string>
#include <vector>

namespace netperm {

com::Variant VariantList(std::vector<com::Variant> elements);
com::Variant StringList(const std::vector<std::string>& texts);
com::Variant Count(std::size_t count);

} // namespace netperm
