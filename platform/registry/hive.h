#pragma once
// One registry hive in memory: a tree of keys, each with its values and
// subkeys in the order they were created. A volatile key remembers the boot
// of its host in which it was made and is live only during that boot.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace winreg {

struct RegistryValue {
    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

struct RegistryKey {
    std::uint64_t id = 0; // unique within the hive, never reused: tells a re-created key from the old one
    std::string name;
    std::optional<std::uint64_t> volatileBoot;
    // Made by a registration as a shared parent of what modules register
    // (HKCR\CLSID in a fresh registry): the unregistration that leaves it
    // empty removes it again. Not seen through the registry calls.
    bool madeByRegistration = false;
    std::vector<RegistryValue> values;
    std::vector<RegistryKey> subkeys;
};

struct Hive {
    RegistryKey root;
    std::uint64_t nextId = 1;
};

bool IsLive(const RegistryKey& key, std::uint64_t bootId);

// The live subkey of that name, without regard to case (an exact match wins).
RegistryKey* FindSubkey(RegistryKey& parent, std::string_view name, std::uint64_t bootId);
const RegistryKey* FindSubkey(const RegistryKey& parent, std::string_view name, std::uint64_t bootId);
// The live key at path below the root, or null.
RegistryKey* FindKey(Hive& hive, const std::vector<std::string>& path, std::uint64_t bootId);
const RegistryKey* FindKey(const Hive& hive, const std::vector<std::string>& path, std::uint64_t bootId);

std::vector<const RegistryKey*> LiveSubkeys(const RegistryKey& key, std::uint64_t bootId);

// The value of that name, without regard to case (an exact match wins).
RegistryValue* FindValue(RegistryKey& key, std::string_view name);
const RegistryValue* FindValue(const RegistryKey& key, std::string_view name);

// Removes the subkey with that id, with everything below it; false when the
// parent has none.
bool RemoveSubkey(RegistryKey& parent, std::uint64_t id);
// Whether the key holds no value and no live subkey.
bool IsEmptyKey(const RegistryKey& key, std::uint64_t bootId);

// Removes every volatile key of another boot; true when one was removed.
bool DropStaleVolatileKeys(RegistryKey& key, std::uint64_t bootId);

struct CreatedKey {
    RegistryKey* key = nullptr;          // the key at the end of the path
    std::vector<std::string> storedPath; // the names walked, in their stored case
    bool created = false;                // whether any key was made
};

// Walks names below parent, creating the keys that are missing; a created key
// is volatile (of bootId) when isVolatile. Nothing is created, and nullopt
// returned, when a non-volatile key would be made below a volatile one.
std::optional<CreatedKey> CreateKeyPath(Hive& hive, RegistryKey& parent, const std::vector<std::string>& names,
                                        bool isVolatile, std::uint64_t bootId);

} // namespace winreg
