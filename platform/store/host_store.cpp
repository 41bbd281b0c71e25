#include "platform/store/host_store.h"

#include "platform/net/atomic_file.h"
#include "platform/net/case_fold.h"
#include "platform/store/errors.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <unistd.h>

namespace store {

namespace fs = std::filesystem;

namespace {

constexpr char kStoreService[] = "MSDMSERV";
constexpr char kStoreFolder[] = "store";
constexpr char kLockFile[] = ".tvx.lock";

[[noreturn]] void throwSystemError(const std::string& what)
{
    const int error = errno;
    throw com::ComError(net::HResultFromErrno(error), what + ": " + std::strerror(error));
}

void lockFile(int descriptor, int operation)
{
    while (::flock(descriptor, operation) != 0)
        if (errno != EINTR) throwSystemError("Cannot lock the document store");
}

// Connections by network root and host name; only those of the network in use
// are kept, so that switching networks (as tests do) releases the old ones.
struct ConnectionTable {
    std::mutex mutex;
    fs::path networkRoot;
    std::map<std::string, std::shared_ptr<HostStore>> byHost;
};

ConnectionTable& connections()
{
    static ConnectionTable table;
    return table;
}

} // namespace

std::optional<HostStore::Identity> HostStore::identify(const fs::path& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return std::nullopt;
    return Identity{status.st_dev, status.st_ino, status.st_size, status.st_mtim};
}

bool HostStore::sameFile(const Identity& a, const Identity& b)
{
    return a.device == b.device && a.inode == b.inode && a.size == b.size && a.modified.tv_sec == b.modified.tv_sec
        && a.modified.tv_nsec == b.modified.tv_nsec;
}

std::shared_ptr<HostStore> HostStore::Connect(std::string_view hostName)
{
    const fs::path networkRoot = net::NetworkRoot();
    if (!identify(networkRoot / "network.ini"))
        throw com::ComError(errStoreUnreachable,
                            "The document store cannot be reached: there is no network at " + networkRoot.string());

    ConnectionTable& table = connections();
    std::lock_guard guard(table.mutex);
    if (table.networkRoot != networkRoot) {
        table.byHost.clear();
        table.networkRoot = networkRoot;
    }
    const std::string key = net::CaseFold(hostName);
    if (auto found = table.byHost.find(key); found != table.byHost.end()) {
        if (found->second->stillValid()) return found->second;
        table.byHost.erase(found);
    }

    const std::optional<net::HostInfo> host = net::FindHost(hostName);
    if (!host)
        throw com::ComError(errHostNotFound, "The server name or address could not be resolved: " + std::string(hostName));
    if (!host->reachable)
        throw com::ComError(errHostUnreachable, "The connection with the server could not be established: " + host->name);
    const fs::path root = host->folder / kStoreFolder;
    const std::optional<Identity> rootFolder = identify(root);
    std::error_code error;
    if (!host->runsService(kStoreService) || !rootFolder || !fs::is_directory(root, error))
        throw com::ComError(errNoStoreOnHost, "The server " + host->name + " runs no document store");

    auto store = std::shared_ptr<HostStore>(
        new HostStore(*host, root, identify(host->folder / "host.ini").value_or(Identity{}), *rootFolder));
    table.byHost.emplace(key, store);
    return store;
}

HostStore::HostStore(net::HostInfo host, fs::path root, Identity hostFile, Identity rootFolder)
    : host_(std::move(host)), root_(std::move(root)), hostFile_(hostFile), rootFolder_(rootFolder)
{
    rootDescriptor_ = ::open(root_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (rootDescriptor_ < 0) throwSystemError("Cannot open the document store of " + host_.name);
    lockDescriptor_ = ::openat(rootDescriptor_, kLockFile, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (lockDescriptor_ < 0) lockDescriptor_ = ::openat(rootDescriptor_, kLockFile, O_RDONLY | O_CLOEXEC);
    if (lockDescriptor_ < 0) {
        ::close(rootDescriptor_);
        throwSystemError("Cannot open the lock of the document store of " + host_.name);
    }
}

HostStore::~HostStore()
{
    ::close(lockDescriptor_);
    ::close(rootDescriptor_);
}

bool HostStore::stillValid() const
{
    const std::optional<Identity> hostFile = identify(host_.folder / "host.ini");
    const std::optional<Identity> rootFolder = identify(root_);
    return hostFile && sameFile(*hostFile, hostFile_) && rootFolder && rootFolder->device == rootFolder_.device
        && rootFolder->inode == rootFolder_.inode;
}

std::uint64_t HostStore::readGeneration() const
{
    std::uint64_t generation = 0;
    if (::pread(lockDescriptor_, &generation, sizeof generation, 0) != sizeof generation) return 0;
    return generation;
}

void HostStore::writeGeneration(std::uint64_t generation)
{
    if (::pwrite(lockDescriptor_, &generation, sizeof generation, 0) != sizeof generation)
        throwSystemError("Cannot write to the document store of " + host_.name);
}

std::uint64_t HostStore::generation() const
{
    if (writing_) return readGeneration();
    lockFile(lockDescriptor_, LOCK_SH);
    const std::uint64_t generation = readGeneration();
    lockFile(lockDescriptor_, LOCK_UN);
    return generation;
}

HostStore::WriteLock::WriteLock(HostStore& store) : store_(store)
{
    lockFile(store_.lockDescriptor_, LOCK_EX);
    store_.writing_ = true;
    generation_ = store_.readGeneration();
}

HostStore::WriteLock::~WriteLock()
{
    store_.writing_ = false;
    ::flock(store_.lockDescriptor_, LOCK_UN);
}

void HostStore::WriteLock::commit(StoreChange change)
{
    const std::uint64_t next = generation_ + 1;
    store_.writeGeneration(next);
    store_.carryOver(generation_, next, change);
    generation_ = next;
}

void HostStore::carryOver(std::uint64_t from, std::uint64_t to, StoreChange change)
{
    if (change == StoreChange::Tree) {
        roles_.clear();
        names_.clear();
        return;
    }
    if (change == StoreChange::Roles) roles_.clear();
    for (auto& [key, entry] : roles_)
        if (entry.generation == from) entry.generation = to;
    for (auto& [key, entry] : names_)
        if (entry.generation == from) entry.generation = to;
}

std::optional<RoleLists> HostStore::cachedRoles(const std::string& containerKey, std::uint64_t generation) const
{
    const auto found = roles_.find(containerKey);
    if (found == roles_.end() || found->second.generation != generation) return std::nullopt;
    return found->second.value;
}

void HostStore::cacheRoles(const std::string& containerKey, std::uint64_t generation, const RoleLists& roles)
{
    roles_[containerKey] = Cached<RoleLists>{generation, roles};
}

HostStore::FolderNames* HostStore::cachedNames(const std::string& folderKey, std::uint64_t generation)
{
    const auto found = names_.find(folderKey);
    if (found == names_.end() || found->second.generation != generation) return nullptr;
    return &found->second.value;
}

HostStore::FolderNames& HostStore::cacheNames(const std::string& folderKey, std::uint64_t generation, FolderNames names)
{
    return (names_[folderKey] = Cached<FolderNames>{generation, std::move(names)}).value;
}

} // namespace store
