#pragma once
// Hive files on disk, in the folder "registry" of their host, reached through
// the network's folders (never through a link). Reads share one parsed copy
// per file in this process, parsed again only when the file changed. A write
// holds an exclusive lock on the registry folder's lock file, starts from the
// file as it is on disk (so another process's change is never lost), and
// replaces the file atomically.

#include "platform/net/folder.h"
#include "platform/registry/hive.h"

#include <memory>
#include <string>

namespace winreg {

enum class HiveName { LocalMachine, Users };

// Where a hive is kept: the host, by its name, and which hive.
struct HiveLocation {
    std::string host;
    HiveName hive = HiveName::LocalMachine;

    std::string fileName() const; // "HKEY_LOCAL_MACHINE.json", "HKEY_USERS.json"
};

// The stored hive; an empty hive when the file does not exist. Throws
// RegistryFailure(ERROR_BADDB) for a file that is not a stored hive and
// RegistryFailure(ERROR_REGISTRY_IO_FAILED) when it cannot be read (a link
// in its place included).
std::shared_ptr<const Hive> ReadHive(const HiveLocation& location);

class HiveWrite {
public:
    // Makes the host's registry folder when missing.
    explicit HiveWrite(const HiveLocation& location);
    HiveWrite(const HiveWrite&) = delete;
    HiveWrite& operator=(const HiveWrite&) = delete;

    Hive& hive() { return hive_; }
    // Writes the hive; throws RegistryFailure when it cannot, leaving the
    // file as it was.
    void commit();

private:
    // An exclusive flock on the registry folder's lock file, held for the
    // object's lifetime.
    class FolderLock {
    public:
        explicit FolderLock(const net::Folder& folder);

    private:
        net::FileHandle lock_;
    };

    std::string fileName_;
    net::Folder folder_;
    FolderLock lock_;
    Hive hive_;
};

} // namespace winreg
