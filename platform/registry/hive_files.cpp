#include "platform/registry/hive_files.h"

#include "platform/net/atomic_file.h"
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

// An open file descriptor, closed at the end of its scope.
class Descriptor {
public:
    explicit Descriptor(int value) : value_(value) {}
    ~Descriptor()
    {
        if (value_ >= 0) ::close(value_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return value_; }

private:
    int value_;
};

std::string readAll(int descriptor)
{
    std::string text;
    char buffer[65536];
    while (true) {
        const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) throw RegistryFailure(ERROR_REGISTRY_IO_FAILED);
        if (count == 0) return text;
        text.append(buffer, static_cast<std::size_t>(count));
    }
}

Hive parse(const std::string& text)
{
    try {
        return HiveFromJson(text);
    } catch (const std::runtime_error&) {
        throw RegistryFailure(ERROR_BADDB);
    }
}

// The file as it is now, with the signature of exactly the version read: the
// open descriptor pins that version while it is read.
std::shared_ptr<const Hive> load(const fs::path& file, bool useCache)
{
    const Descriptor descriptor(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (descriptor.get() < 0) {
        if (errno == ENOENT) return std::make_shared<const Hive>();
        throw RegistryFailure(errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_REGISTRY_IO_FAILED);
    }
    struct stat info {};
    if (::fstat(descriptor.get(), &info) != 0) throw RegistryFailure(ERROR_REGISTRY_IO_FAILED);
    const FileSignature signature = FileSignature::Of(info);
    if (useCache)
        if (auto cached = cache().find(file, signature)) return cached;
    auto hive = std::make_shared<const Hive>(parse(readAll(descriptor.get())));
    cache().remember(file, signature, hive);
    return hive;
}

Status statusOfWriteFailure(const com::ComError& error)
{
    if (error.number() == com::E_ACCESSDENIED) return ERROR_ACCESS_DENIED;
    return ERROR_REGISTRY_IO_FAILED;
}

} // namespace

std::shared_ptr<const Hive> ReadHive(const fs::path& file)
{
    return load(file, true);
}

HiveWrite::FolderLock::FolderLock(const fs::path& folder)
{
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    descriptor_ = ::open((folder / kLockFile).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (descriptor_ < 0) throw RegistryFailure(errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_REGISTRY_IO_FAILED);
    while (::flock(descriptor_, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        ::close(descriptor_);
        throw RegistryFailure(ERROR_REGISTRY_IO_FAILED);
    }
}

HiveWrite::FolderLock::~FolderLock()
{
    ::close(descriptor_); // releases the lock
}

// Starts from the file on disk, not the cache: another process may have
// written since this process last read it.
HiveWrite::HiveWrite(const fs::path& file) : file_(file), lock_(file.parent_path()), hive_(*load(file, false)) {}

void HiveWrite::commit()
{
    try {
        net::WriteFileAtomically(file_, HiveToJson(hive_));
    } catch (const com::ComError& error) {
        throw RegistryFailure(statusOfWriteFailure(error));
    }
    struct stat info {};
    if (::stat(file_.c_str(), &info) == 0) cache().remember(file_, FileSignature::Of(info), std::make_shared<const Hive>(hive_));
}

} // namespace winreg
