// The registry calls: handles resolved to keys of a host's hives, reads from
// the shared parsed copy, writes under the hive's lock, every failure turned
// into the Windows error code the caller expects.

#include "platform/registry/registry.h"

#include "platform/net/case_fold.h"
#include "platform/net/network.h"
#include "platform/registry/hive_files.h"
#include "platform/registry/key_names.h"
#include "platform/registry/open_keys.h"
#include "platform/registry/registry_failure.h"
#include "platform/sys/user.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace winreg {


namespace {

std::mutex& apiMutex()
{
    static std::mutex mutex;
    return mutex;
}

HandleTable& handles()
{
    static HandleTable table;
    return table;
}

// Runs one call's body under the process-wide lock and turns its failure into
// the call's result.
template <class Body>
Status guarded(Body body)
{
    std::lock_guard lock(apiMutex());
    try {
        return body();
    } catch (const RegistryFailure& failure) {
        return failure.status();
    } catch (const com::ComError& error) {
        if (error.number() == com::E_ACCESSDENIED) return ERROR_ACCESS_DENIED;
        if (error.number() == com::E_OUTOFMEMORY) return ERROR_NOT_ENOUGH_MEMORY;
        return ERROR_REGISTRY_IO_FAILED;
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    } catch (const std::exception&) {
        return ERROR_REGISTRY_IO_FAILED;
    }
}

void require(bool condition, Status failure)
{
    if (!condition) throw RegistryFailure(failure);
}

// ------------------------------------------------------------------ hosts

struct HostAccess {
    std::string host; // its stored name, or the local host's name before its folder exists
    bool mayWrite = true;
};

std::string_view withoutLeadingSeparators(std::string_view machine)
{
    while (!machine.empty() && (machine.front() == '\\' || machine.front() == '/')) machine.remove_prefix(1);
    return machine;
}

// The local machine is always at hand; it gets its folder on the first write.
HostAccess localHost()
{
    const std::string name = net::LocalHostName();
    require(net::IsSafeName(name), ERROR_BAD_NETPATH);
    if (const auto host = net::FindHost(name)) return {host->name, true};
    return {name, true};
}

// Another host's registry may be read by its administrators, and by everyone
// when the host allows it; only administrators may change it.
HostAccess hostNamed(std::string_view machine)
{
    const std::string_view name = withoutLeadingSeparators(machine);
    if (name.empty() || net::EqualsIgnoringCase(name, net::LocalHostName())) return localHost();
    const auto host = net::FindHost(name);
    require(host && host->reachable, ERROR_BAD_NETPATH);
    const bool administrator = host->isAdministrator(sys::CurrentUser());
    require(administrator || host->remoteRegistryForEveryone, ERROR_ACCESS_DENIED);
    return {host->name, administrator};
}

std::uint64_t bootIdOf(const std::string& hostName)
{
    net::HostInfo host;
    host.name = hostName;
    return net::BootId(host);
}

// ------------------------------------------------------------------ keys

KeyLocation predefinedLocation(const std::string& host, HKEY hive)
{
    switch (hive) {
    case HKEY_LOCAL_MACHINE: return {host, HiveName::LocalMachine, {}};
    case HKEY_USERS: return {host, HiveName::Users, {}};
    case HKEY_CLASSES_ROOT: return {host, HiveName::LocalMachine, {"SOFTWARE", "Classes"}};
    case HKEY_CURRENT_USER: return {host, HiveName::Users, {CurrentUserKeyName()}};
    case HKEY_CURRENT_CONFIG:
        return {host, HiveName::LocalMachine, {"SYSTEM", "CurrentControlSet", "Hardware Profiles", "Current"}};
    default: throw RegistryFailure(ERROR_INVALID_HANDLE);
    }
}

std::vector<std::string> parsedPath(std::string_view path)
{
    auto parsed = ParseKeyPath(path);
    if (const Status* failure = std::get_if<Status>(&parsed)) throw RegistryFailure(*failure);
    return std::get<std::vector<std::string>>(std::move(parsed));
}

// The root of a predefined hive or view; a view's key is made when missing, as
// the system always has it.
OpenedKey openedRoot(const HostAccess& host, HKEY hive)
{
    KeyLocation location = predefinedLocation(host.host, hive);
    const std::uint64_t bootId = bootIdOf(host.host);
    const auto stored = ReadHive(location.hiveLocation());
    if (const RegistryKey* key = FindKey(*stored, location.path, bootId))
        return {location, key->id, KEY_ALL_ACCESS, host.mayWrite, true};

    HiveWrite write(location.hiveLocation());
    DropStaleVolatileKeys(write.hive().root, bootId);
    const auto created = CreateKeyPath(write.hive(), write.hive().root, location.path, false, bootId);
    require(created.has_value(), ERROR_CHILD_MUST_BE_VOLATILE);
    const std::uint64_t id = created->key->id;
    location.path = created->storedPath;
    if (created->created) write.commit();
    return {location, id, KEY_ALL_ACCESS, host.mayWrite, true};
}

OpenedKey opened(HKEY handle)
{
    if (IsPredefinedKey(handle)) return openedRoot(localHost(), handle);
    auto key = handles().find(handle);
    require(key.has_value(), ERROR_INVALID_HANDLE);
    return *key;
}

void requireRight(const OpenedKey& key, std::uint32_t right)
{
    require(key.allows(right), ERROR_ACCESS_DENIED);
}

void requireWriteRight(const OpenedKey& key, std::uint32_t right)
{
    require(key.mayWrite && key.allows(right), ERROR_ACCESS_DENIED);
}

template <class HiveType>
auto& liveKey(HiveType& hive, const OpenedKey& key, std::uint64_t bootId)
{
    auto* found = FindKey(hive, key.location.path, bootId);
    require(found && found->id == key.keyId, ERROR_KEY_DELETED);
    return *found;
}

// Calls read with the key as stored now.
template <class Read>
Status readKey(const OpenedKey& key, Read read)
{
    const std::uint64_t bootId = bootIdOf(key.location.host);
    const auto hive = ReadHive(key.location.hiveLocation());
    return read(liveKey(*hive, key, bootId), bootId);
}

// Calls change with the key inside the locked hive; the hive is written when
// change reports that it changed something.
template <class Change>
Status changeKey(const OpenedKey& key, Change change)
{
    const std::uint64_t bootId = bootIdOf(key.location.host);
    HiveWrite write(key.location.hiveLocation());
    DropStaleVolatileKeys(write.hive().root, bootId);
    bool changed = false;
    const Status status = change(write.hive(), liveKey(write.hive(), key, bootId), bootId, changed);
    if (changed) write.commit();
    return status;
}

OpenedKey childOf(const OpenedKey& parent, const std::vector<std::string>& storedNames, std::uint64_t id,
                  std::uint32_t access)
{
    OpenedKey child = parent;
    child.location.path.insert(child.location.path.end(), storedNames.begin(), storedNames.end());
    child.keyId = id;
    child.access = access;
    child.isHiveRoot = parent.isHiveRoot && storedNames.empty();
    return child;
}

// The key at names below key, with the names as stored; null when missing.
template <class KeyType>
KeyType* walk(KeyType& key, const std::vector<std::string>& names, std::uint64_t bootId,
              std::vector<std::string>* storedNames)
{
    KeyType* current = &key;
    for (const std::string& name : names) {
        current = FindSubkey(*current, name, bootId);
        if (!current) return nullptr;
        if (storedNames) storedNames->push_back(current->name);
    }
    return current;
}

} // namespace

std::string CurrentUserKeyName()
{
    std::string name = sys::CurrentUser();
    std::replace(name.begin(), name.end(), '\\', '_');
    return name;
}

Status ConnectRegistry(std::string_view machine, HKEY hive, HKEY* result)
{
    return guarded([&] {
        require(result != nullptr, ERROR_INVALID_PARAMETER);
        require(IsPredefinedKey(hive), ERROR_INVALID_HANDLE);
        *result = handles().add(openedRoot(hostNamed(machine), hive));
        return ERROR_SUCCESS;
    });
}

Status OpenKey(HKEY parent, std::string_view subKey, std::uint32_t access, HKEY* result)
{
    return guarded([&] {
        require(result != nullptr, ERROR_INVALID_PARAMETER);
        const OpenedKey parentKey = opened(parent);
        const std::vector<std::string> names = parsedPath(subKey);
        return readKey(parentKey, [&](const RegistryKey& key, std::uint64_t bootId) {
            std::vector<std::string> storedNames;
            const RegistryKey* found = walk(key, names, bootId, &storedNames);
            require(found != nullptr, ERROR_FILE_NOT_FOUND);
            *result = handles().add(childOf(parentKey, storedNames, found->id, access));
            return ERROR_SUCCESS;
        });
    });
}

Status CreateKey(HKEY parent, std::string_view subKey, bool isVolatile, HKEY* result, bool* created)
{
    return guarded([&] {
        require(result != nullptr, ERROR_INVALID_PARAMETER);
        const OpenedKey parentKey = opened(parent);
        const std::vector<std::string> names = parsedPath(subKey);
        requireWriteRight(parentKey, KEY_CREATE_SUB_KEY);
        OpenedKey child;
        bool wasCreated = false;
        changeKey(parentKey, [&](Hive& hive, RegistryKey& key, std::uint64_t bootId, bool& changed) {
            const auto made = CreateKeyPath(hive, key, names, isVolatile, bootId);
            require(made.has_value(), ERROR_CHILD_MUST_BE_VOLATILE);
            changed = wasCreated = made->created;
            child = childOf(parentKey, made->storedPath, made->key->id, KEY_ALL_ACCESS);
            return ERROR_SUCCESS;
        });
        *result = handles().add(std::move(child));
        if (created) *created = wasCreated;
        return ERROR_SUCCESS;
    });
}

Status CloseKey(HKEY key)
{
    return guarded([&] {
        if (IsPredefinedKey(key)) return ERROR_SUCCESS;
        return handles().remove(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
    });
}

Status DeleteKey(HKEY parent, std::string_view subKey)
{
    return guarded([&] {
        const OpenedKey parentKey = opened(parent);
        const std::vector<std::string> names = parsedPath(subKey);
        require(parentKey.mayWrite, ERROR_ACCESS_DENIED);
        if (names.empty()) {
            // The key the handle names deletes itself, from its parent.
            require(!parentKey.isHiveRoot && !parentKey.location.path.empty(), ERROR_ACCESS_DENIED);
            OpenedKey holder = parentKey;
            holder.location.path.pop_back();
            return changeKey(parentKey, [&](Hive& hive, RegistryKey& key, std::uint64_t bootId, bool& changed) {
                require(LiveSubkeys(key, bootId).empty(), ERROR_ACCESS_DENIED);
                RegistryKey* above = FindKey(hive, holder.location.path, bootId);
                changed = above && RemoveSubkey(*above, key.id);
                return ERROR_SUCCESS;
            });
        }
        return changeKey(parentKey, [&](Hive&, RegistryKey& key, std::uint64_t bootId, bool& changed) {
            const std::vector<std::string> above(names.begin(), names.end() - 1);
            RegistryKey* holder = walk(key, above, bootId, nullptr);
            const RegistryKey* target = holder ? FindSubkey(*holder, names.back(), bootId) : nullptr;
            require(target != nullptr, ERROR_FILE_NOT_FOUND);
            require(LiveSubkeys(*target, bootId).empty(), ERROR_ACCESS_DENIED);
            changed = RemoveSubkey(*holder, target->id);
            return ERROR_SUCCESS;
        });
    });
}

Status QueryValue(HKEY key, std::string_view name, std::uint32_t* type, std::uint8_t* data, std::uint32_t* size)
{
    return guarded([&] {
        const OpenedKey openedKey = opened(key);
        require(CheckValueName(name) == ERROR_SUCCESS, ERROR_INVALID_PARAMETER);
        require(data == nullptr || size != nullptr, ERROR_INVALID_PARAMETER);
        requireRight(openedKey, KEY_QUERY_VALUE);
        return readKey(openedKey, [&](const RegistryKey& stored, std::uint64_t) {
            const RegistryValue* value = FindValue(stored, name);
            require(value != nullptr, ERROR_FILE_NOT_FOUND);
            const auto length = static_cast<std::uint32_t>(value->data.size());
            if (type) *type = value->type;
            if (!data) {
                if (size) *size = length;
                return ERROR_SUCCESS;
            }
            const bool fits = *size >= length;
            if (fits && length > 0) std::memcpy(data, value->data.data(), length);
            *size = length;
            return fits ? ERROR_SUCCESS : ERROR_MORE_DATA;
        });
    });
}

Status SetValue(HKEY key, std::string_view name, std::uint32_t type, const std::uint8_t* data, std::uint32_t size)
{
    return guarded([&] {
        const OpenedKey openedKey = opened(key);
        require(CheckValueName(name) == ERROR_SUCCESS, ERROR_INVALID_PARAMETER);
        require(data != nullptr || size == 0, ERROR_INVALID_PARAMETER);
        requireWriteRight(openedKey, KEY_SET_VALUE);
        const std::vector<std::uint8_t> bytes(data, data + size);
        return changeKey(openedKey, [&](Hive&, RegistryKey& stored, std::uint64_t, bool& changed) {
            RegistryValue* value = FindValue(stored, name);
            if (!value) {
                stored.values.push_back({std::string(name), type, bytes});
                changed = true;
            } else if (value->type != type || value->data != bytes) {
                value->type = type;
                value->data = bytes;
                changed = true;
            }
            return ERROR_SUCCESS;
        });
    });
}

Status DeleteValue(HKEY key, std::string_view name)
{
    return guarded([&] {
        const OpenedKey openedKey = opened(key);
        require(CheckValueName(name) == ERROR_SUCCESS, ERROR_INVALID_PARAMETER);
        requireWriteRight(openedKey, KEY_SET_VALUE);
        return changeKey(openedKey, [&](Hive&, RegistryKey& stored, std::uint64_t, bool& changed) {
            const RegistryValue* value = FindValue(stored, name);
            require(value != nullptr, ERROR_FILE_NOT_FOUND);
            stored.values.erase(stored.values.begin() + (value - stored.values.data()));
            changed = true;
            return ERROR_SUCCESS;
        });
    });
}

Status EnumKey(HKEY key, std::uint32_t index, std::string* name, std::size_t nameCapacity)
{
    return guarded([&] {
        require(name != nullptr, ERROR_INVALID_PARAMETER);
        const OpenedKey openedKey = opened(key);
        requireRight(openedKey, KEY_ENUMERATE_SUB_KEYS);
        return readKey(openedKey, [&](const RegistryKey& stored, std::uint64_t bootId) {
            const auto subkeys = LiveSubkeys(stored, bootId);
            if (index >= subkeys.size()) return ERROR_NO_MORE_ITEMS;
            const std::string& found = subkeys[index]->name;
            if (found.size() + 1 > nameCapacity) return ERROR_MORE_DATA;
            *name = found;
            return ERROR_SUCCESS;
        });
    });
}

Status EnumValue(HKEY key, std::uint32_t index, std::string* name, std::uint32_t* type, std::vector<std::uint8_t>* data)
{
    return guarded([&] {
        const OpenedKey openedKey = opened(key);
        requireRight(openedKey, KEY_QUERY_VALUE);
        return readKey(openedKey, [&](const RegistryKey& stored, std::uint64_t) {
            if (index >= stored.values.size()) return ERROR_NO_MORE_ITEMS;
            const RegistryValue& value = stored.values[index];
            if (name) *name = value.name;
            if (type) *type = value.type;
            if (data) *data = value.data;
            return ERROR_SUCCESS;
        });
    });
}

Status ChangeLocalMachine(const HiveChange& change)
{
    return guarded([&] {
        const HostAccess host = localHost();
        const std::uint64_t bootId = bootIdOf(host.host);
        HiveWrite write(HiveLocation{host.host, HiveName::LocalMachine});
        bool changed = DropStaleVolatileKeys(write.hive().root, bootId);
        const Status status = change(write.hive(), bootId, changed);
        if (status == ERROR_SUCCESS && changed) write.commit();
        return status;
    });
}

void RestartHost(std::string_view machine)
{
    guarded([&] {
        const std::string_view named = withoutLeadingSeparators(machine);
        const std::string name = named.empty() ? net::LocalHostName() : std::string(named);
        const auto host = net::FindHost(name);
        if (!host) return ERROR_BAD_NETPATH;
        const std::uint64_t bootId = net::AdvanceBootId(*host);
        for (const HiveName hive : {HiveName::LocalMachine, HiveName::Users}) {
            const HiveLocation location{host->name, hive};
            if (ReadHive(location)->root.subkeys.empty()) continue;
            HiveWrite write(location);
            if (DropStaleVolatileKeys(write.hive().root, bootId)) write.commit();
        }
        return ERROR_SUCCESS;
    });
}

} // namespace winreg
