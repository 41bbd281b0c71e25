#pragma once
// The keys this process holds open, by handle. A handle names a key by its
// place (host, hive, path in stored case) and by the key's id, so a handle to
// a key that was deleted, even if re-created since, is known as such.

#include "platform/registry/hive_files.h"
#include "platform/registry/registry.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace winreg {

struct KeyLocation {
    std::string host;
    HiveName hive = HiveName::LocalMachine;
    std::vector<std::string> path; // from the hive's root, in stored case

    HiveLocation hiveLocation() const { return {host, hive}; }
};

struct OpenedKey {
    KeyLocation location;
    std::uint64_t keyId = 0;
    std::uint32_t access = KEY_ALL_ACCESS;
    bool mayWrite = true;    // false for another host's registry, read by a user who is not its administrator
    bool isHiveRoot = false; // the root of a hive or of a view of one: never deleted

    bool allows(std::uint32_t right) const { return (access & right) == right; }
};

class HandleTable {
public:
    HKEY add(OpenedKey key);
    std::optional<OpenedKey> find(HKEY handle) const;
    bool remove(HKEY handle);

private:
    std::unordered_map<HKEY, OpenedKey> keys_;
    HKEY next_ = 0x100;
};

bool IsPredefinedKey(HKEY handle);

} // namespace winreg
