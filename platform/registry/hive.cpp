#include "platform/registry/hive.h"

#include "platform/net/case_fold.h"

#include <algorithm>

namespace winreg {

namespace {

// The element named name: an exact match first, then one that differs only
// in case.
template <class Range, class Name, class Accept>
auto findByName(Range& items, std::string_view name, Name nameOf, Accept accept) -> decltype(&*items.begin())
{
    decltype(&*items.begin()) folded = nullptr;
    for (auto& item : items) {
        if (!accept(item)) continue;
        if (nameOf(item) == name) return &item;
        if (!folded && net::EqualsIgnoringCase(nameOf(item), name)) folded = &item;
    }
    return folded;
}

template <class HiveType>
auto findKey(HiveType& hive, const std::vector<std::string>& path, std::uint64_t bootId) -> decltype(&hive.root)
{
    auto* key = &hive.root;
    for (const std::string& name : path) {
        key = FindSubkey(*key, name, bootId);
        if (!key) return nullptr;
    }
    return key;
}

} // namespace

bool IsLive(const RegistryKey& key, std::uint64_t bootId)
{
    return !key.volatileBoot || *key.volatileBoot == bootId;
}

RegistryKey* FindSubkey(RegistryKey& parent, std::string_view name, std::uint64_t bootId)
{
    return findByName(parent.subkeys, name, [](const RegistryKey& key) -> const std::string& { return key.name; },
                      [&](const RegistryKey& key) { return IsLive(key, bootId); });
}

const RegistryKey* FindSubkey(const RegistryKey& parent, std::string_view name, std::uint64_t bootId)
{
    return FindSubkey(const_cast<RegistryKey&>(parent), name, bootId);
}

RegistryKey* FindKey(Hive& hive, const std::vector<std::string>& path, std::uint64_t bootId)
{
    return findKey(hive, path, bootId);
}

const RegistryKey* FindKey(const Hive& hive, const std::vector<std::string>& path, std::uint64_t bootId)
{
    return findKey(hive, path, bootId);
}

std::vector<const RegistryKey*> LiveSubkeys(const RegistryKey& key, std::uint64_t bootId)
{
    std::vector<const RegistryKey*> live;
    for (const RegistryKey& subkey : key.subkeys)
        if (IsLive(subkey, bootId)) live.push_back(&subkey);
    return live;
}

RegistryValue* FindValue(RegistryKey& key, std::string_view name)
{
    return findByName(key.values, name, [](const RegistryValue& value) -> const std::string& { return value.name; },
                      [](const RegistryValue&) { return true; });
}

const RegistryValue* FindValue(const RegistryKey& key, std::string_view name)
{
    return FindValue(const_cast<RegistryKey&>(key), name);
}

bool RemoveSubkey(RegistryKey& parent, std::uint64_t id)
{
    const auto entry = std::find_if(parent.subkeys.begin(), parent.subkeys.end(),
                                    [&](const RegistryKey& subkey) { return subkey.id == id; });
    if (entry == parent.subkeys.end()) return false;
    parent.subkeys.erase(entry);
    return true;
}

bool IsEmptyKey(const RegistryKey& key, std::uint64_t bootId)
{
    return key.values.empty() && LiveSubkeys(key, bootId).empty();
}

bool DropStaleVolatileKeys(RegistryKey& key, std::uint64_t bootId)
{
    const auto stale = std::remove_if(key.subkeys.begin(), key.subkeys.end(),
                                      [&](const RegistryKey& subkey) { return !IsLive(subkey, bootId); });
    bool dropped = stale != key.subkeys.end();
    key.subkeys.erase(stale, key.subkeys.end());
    for (RegistryKey& subkey : key.subkeys) dropped = DropStaleVolatileKeys(subkey, bootId) || dropped;
    return dropped;
}

std::optional<CreatedKey> CreateKeyPath(Hive& hive, RegistryKey& parent, const std::vector<std::string>& names,
                                        bool isVolatile, std::uint64_t bootId)
{
    CreatedKey result;
    RegistryKey* key = &parent;
    auto name = names.begin();
    for (; name != names.end(); ++name) {
        RegistryKey* existing = FindSubkey(*key, *name, bootId);
        if (!existing) break;
        key = existing;
        result.storedPath.push_back(existing->name);
    }
    if (name != names.end() && key->volatileBoot && !isVolatile) return std::nullopt;
    for (; name != names.end(); ++name) {
        RegistryKey created;
        created.id = hive.nextId++;
        created.name = *name;
        if (isVolatile) created.volatileBoot = bootId;
        key->subkeys.push_back(std::move(created));
        key = &key->subkeys.back();
        result.storedPath.push_back(*name);
        result.created = true;
    }
    result.key = key;
    return result;
}

} // namespace winreg
