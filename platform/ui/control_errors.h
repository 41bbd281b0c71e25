#pragma once
// The error numbers the window controls raise, as com::ComError, so that the
// forms' error traps handle them like any platform error.

#include "platform/com/hresult.h"

#include <string>

namespace ui {

// A control object reached through an empty reference: a node's missing
// child, parent or sibling, a list without a selected item.
inline constexpr com::HRESULT kObjectNotSet = 91;
// A property set to a value it cannot take (a bar's value past its maximum).
inline constexpr com::HRESULT kInvalidPropertyValue = 380;
// An index outside a collection of nodes, items, columns, buttons or images.
inline constexpr com::HRESULT kIndexOutOfBounds = 35600;
// No element of a collection has the key.
inline constexpr com::HRESULT kElementNotFound = 35601;
// The key is already used in the collection.
inline constexpr com::HRESULT kKeyNotUnique = 35602;
// The image key is not in the control's image list.
inline constexpr com::HRESULT kInvalidImageKey = 35603;
// An animation clip that cannot be opened or read.
inline constexpr com::HRESULT kCannotOpenClip = 35752;

// Throws com::ComError with the number and its standard description.
[[noreturn]] void RaiseControlError(com::HRESULT number);
[[noreturn]] void RaiseControlError(com::HRESULT number, const std::string& description);

} // namespace ui
