#pragma once
// Hive files on disk. Reads share one parsed copy per file in this process,
// parsed again only when the file changed. A write holds an exclusive lock on
// the registry folder's lock file, starts from the file as it is on disk (so
// another process's change is never lost), and replaces the file atomically.

#include "platform/registry/hive.h"

#include <filesystem>
#include <memory>

namespace winreg {

// The stored hive; an empty hive when the file does not exist. Throws
// RegistryFailure(ERROR_BADDB) for a file that is not a stored hive and
// RegistryFailure(ERROR_REGISTRY_IO_FAILED) when it cannot be read.
std::shared_ptr<const Hive> ReadHive(const std::filesystem::path& file);

class HiveWrite {
public:
    explicit HiveWrite(const std::filesystem::path& file);
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
        explicit FolderLock(const std::filesystem::path& folder);
        ~FolderLock();
        FolderLock(const FolderLock&) = delete;
        FolderLock& operator=(const FolderLock&) = delete;

    private:
        int descriptor_ = -1;
    };

    std::filesystem::path file_;
    FolderLock lock_;
    Hive hive_;
};

} // namespace winreg
