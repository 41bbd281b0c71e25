#pragma once
// An open registry key that closes itself, and the string reads and writes
// that registration and class lookup share.

#include "platform/registry/registry.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace com {

// Room for any key name (255 characters of UTF-8) when enumerating subkeys.
inline constexpr std::size_t KeyNameCapacity = 1024;

class RegistryHandle {
public:
    RegistryHandle() = default;
    explicit RegistryHandle(winreg::HKEY key) : key_(key) {}
    RegistryHandle(RegistryHandle&& other) noexcept : key_(std::exchange(other.key_, 0)) {}
    RegistryHandle& operator=(RegistryHandle&& other) noexcept
    {
        if (this != &other) {
            close();
            key_ = std::exchange(other.key_, 0);
        }
        return *this;
    }
    RegistryHandle(const RegistryHandle&) = delete;
    RegistryHandle& operator=(const RegistryHandle&) = delete;
    ~RegistryHandle() { close(); }

    winreg::HKEY get() const { return key_; }
    explicit operator bool() const { return key_ != 0; }
    // For calls that return a new handle: closes the current one first.
    winreg::HKEY* receive()
    {
        close();
        return &key_;
    }

private:
    void close()
    {
        if (key_) winreg::CloseKey(std::exchange(key_, 0));
    }

    winreg::HKEY key_ = 0;
};

// The text of a string value (REG_SZ or REG_EXPAND_SZ) of subKey below parent,
// up to its first zero byte; nullopt when the key or value is missing or holds
// another type. An empty name reads the default value.
std::optional<std::string> ReadRegistryString(winreg::HKEY parent, std::string_view subKey, std::string_view name);

// Writes a REG_SZ value with its terminating zero.
winreg::Status WriteRegistryString(winreg::HKEY key, std::string_view name, std::string_view text);

// Deletes subKey below parent with everything below it.
winreg::Status DeleteRegistryTree(winreg::HKEY parent, std::string_view subKey);

} // namespace com
