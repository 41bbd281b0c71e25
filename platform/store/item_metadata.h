#pragma once
// The metadata of a document or schema item as a slot of its file holds it:
// a list of fields, each a tag byte and its value in the store's binary form,
// the kind first. Fields that hold their default value are left out.

#include "platform/store/item_data.h"

#include <string>
#include <string_view>

namespace store {

// Throws ComError(DISP_E_TYPEMISMATCH) for a value that cannot be stored.
std::string EncodeItemMetadata(const ItemData& data);
// Throws ComError(errDamagedItem) for bytes that EncodeItemMetadata did not make.
ItemData DecodeItemMetadata(std::string_view bytes);

} // namespace store
