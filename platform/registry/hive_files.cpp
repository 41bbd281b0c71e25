#include "platform/registry/hive_files.h"

#include "platform/net/network.h"
#include "platform/registry/hive_json.h"
#include "platform/registry/registry_failure.h"

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace winreg {

namespace fs = std::filesystem;

namespace {

const char kRegistryFolder[] = "registry";
const char kLockFile[] = "registry.lock";

// Identifies one version of a file: a rewrite makes a new file (new inode)
// with new times.
struct FileSignature {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    static FileSignature Of(const struct stat& info)
    {
        return {info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
    }
    bool operator==(const FileSignature& other) const
    {
        return device == other.device && inode == other.inode && size == other.size
            && modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec
            && changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
    }
};

struct CachedHive {
    FileSignature signature;
    std::shared_ptr<const Hive> hive;
};

class HiveCache {
public:
    std::shared_ptr<const Hive> find(const fs::path& file, const FileSignature& signature)
    {
        std::lock_guard lock(mutex_);
        const auto entry = entries_.find(file);
        return (entry != entries_.end() && entry->second.signature == signature) ? entry->second.hive : nullptr;
    }
    void remember(const fs::path& file, const FileSignature& signature, std::shared_ptr<const Hive> hive)
    {
        std::lock_guard lock(mutex_);
        entries_[file] = {signature, std::move(hive)};
    }

private:
    std::mutex mutex_;
    std::map<fs::path, CachedHive> entries_;
};

HiveCache& cache()
{
    static HiveCache instance;
    return instance;
}

Hive parse(const std::string& text)
{
    try {
        return HiveFromJson(text);
    } catch (const std::runtime_error&) {
        throw RegistryFailure(ERROR_BADDB);
    }
}

Status statusOfFailure(const com::ComError& error)
{
    if (error.number() == com::E_ACCESSDENIED) return ERROR_ACCESS_DENIED;
    return ERROR_REGISTRY_IO_FAILED;
}

// Runs a step of reading or writing hive files, its failure turned into the
// registry's error codes.
template <class Step>
auto hiveFileStep(Step step)
{
    try {
        return step();
    } catch (const com::ComError& error) {
        throw RegistryFailure(statusOfFailure(error));
    }
}

// The file as it is now, with the signature of exactly the version read: the
// open descriptor pins that version while it is read. The cache is keyed by
// the file's path, the signature tells its versions apart.
std::shared_ptr<const Hive> load(const net::Folder* folder, const std::string& fileName, bool useCache)
{
    std::optional<net::FileHandle> file = folder ? hiveFileStep([&] { return folder->openForReading(fileName); })
                                                 : std::nullopt;
    if (!file) return std::make_shared<const Hive>();
    struct stat info {};
    if (::fstat(file->get(), &info) != 0) throw RegistryFailure(ERROR_REGISTRY_IO_FAILED);
    const FileSignature signature = FileSignature::Of(info);
    const fs::path path = folder->path() / fileName;
    if (useCache)
        if (auto cached = cache().find(path, signature)) return cached;
    auto hive = std::make_shared<const Hive>(parse(hiveFileStep([&] { return net::ReadToEnd(file->get(), path.string()); })));
    cache().remember(path, signature, hive);
    return hive;
}

std::optional<net::Folder> registryFolder(const std::string& host)
{
    return hiveFileStep([&] {
        const std::optional<net::Folder> hostFolder = net::OpenHostFolder(host);
        return hostFolder ? hostFolder->openFolder({kRegistryFolder}) : std::nullopt;
    });
}

} // namespace

std::string HiveLocation::fileName() const
{
    return hive == HiveName::LocalMachine ? "HKEY_LOCAL_MACHINE.json" : "HKEY_USERS.json";
}

std::shared_ptr<const Hive> ReadHive(const HiveLocation& location)
{
    const std::optional<net::Folder> folder = registryFolder(location.host);
    return load(folder ? &*folder : nullptr, location.fileName(), true);
}

HiveWrite::FolderLock::FolderLock(const net::Folder& folder)
    : lock_(hiveFileStep([&] { return folder.openOrCreateFile(kLockFile); }))
{
    while (::flock(lock_.get(), LOCK_EX) != 0)
        if (errno != EINTR) throw RegistryFailure(ERROR_REGISTRY_IO_FAILED);
}

// Starts from the file on disk, not the cache: another process may have
// written since this process last read it.
HiveWrite::HiveWrite(const HiveLocation& location)
    : fileName_(location.fileName()),
      folder_(hiveFileStep([&] { return net::CreateHostFolder(location.host).createFolders({kRegistryFolder}); })),
      lock_(folder_),
      hive_(*load(&folder_, fileName_, false))
{
}

void HiveWrite::commit()
{
    hiveFileStep([&] { folder_.writeFile(fileName_, HiveToJson(hive_)); });
    struct stat info {};
    if (::fstatat(folder_.descriptor(), fileName_.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0)
        cache().remember(folder_.path() / fileName_, FileSignature::Of(info), std::make_shared<const Hive>(hive_));
}

} // namespace winreg
