#include "platform/registry/open_keys.h"

namespace winreg {

HKEY HandleTable::add(OpenedKey key)
{
    // Handles count up in steps of four and stay clear of the predefined ones.
    do {
        next_ = (next_ + 4) & 0x7FFFFFFCu;
    } while (next_ == 0 || keys_.count(next_));
    keys_.emplace(next_, std::move(key));
    return next_;
}

std::optional<OpenedKey> HandleTable::find(HKEY handle) const
{
    const auto entry = keys_.find(handle);
    if (entry == keys_.end()) return std::nullopt;
    return entry->second;
}

bool HandleTable::remove(HKEY handle)
{
    return keys_.erase(handle) > 0;
}

bool IsPredefinedKey(HKEY handle)
{
    switch (handle) {
    case HKEY_CLASSES_ROOT:
    case HKEY_CURRENT_USER:
    case HKEY_LOCAL_MACHINE:
    case HKEY_USERS:
    case HKEY_CURRENT_CONFIG: return true;
    default: return false;
    }
}

} // namespace winreg
