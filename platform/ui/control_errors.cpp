#include "platform/ui/control_errors.h"

namespace ui {

namespace {

std::string describe(com::HRESULT number)
{
    switch (number) {
    case kObjectNotSet: return "Object variable or With block variable not set";
    case kInvalidPropertyValue: return "Invalid property value";
    case kIndexOutOfBounds: return "Index out of bounds";
    case kElementNotFound: return "Element not found";
    case kKeyNotUnique: return "Key is not unique in collection";
    case kInvalidImageKey: return "Invalid key";
    case kCannotOpenClip: return "Unable to open AVI file";
    default: return "Control error";
    }
}

} // namespace

void RaiseControlError(com::HRESULT number) { throw com::ComError(number, describe(number)); }

void RaiseControlError(com::HRESULT number, const std::string& description)
{
    throw com::ComError(number, description);
}

} // namespace ui
