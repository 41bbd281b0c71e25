#include "platform/store/host_store.h"

#include "platform/net/folder.h"
#include "platform/net/case_fold.h"
#include "platform/store/errors.h"
#include "platform/store/write_scope.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/mman.h>
#include <unistd.h>

namespace store {

namespace fs = std::filesystem;

namespace {

constexpr char kStoreFolder[] = "store";
constexpr char kLockFile[] = ".tvx.lock";

[[noreturn]] void throwSystemError(const std::string& what)
{
    net::ThrowSystemError(what, errno);
}

void lockFile(int descriptor, int operation)
{
    while (::flock(descriptor, operation) != 0)
        if (errno != EINTR) throwSystemError("Cannot lock the document store");
}

// Connections by network root and host name; only those of the network in use
// are kept, so that switching networks (as tests do) releases the old ones.
// Each remembers the write scope in which it was last checked, and when.
struct Connection {
    std::shared_ptr<HostStore> store;
    std::uint64_t checkedInScope = 0;
    std::chrono::steady_clock::time_point checkedAt;
    std::uint64_t hostFileWrites = 0; // of this process when it was checked

    // The settings of a host checked a moment ago are taken as they were
    // then, unless this process has changed a host since: another process's
    // change is seen within that moment.
    bool settingsCheckedJustNow(std::chrono::steady_clock::time_point now) const
    {
        constexpr auto kMoment = std::chrono::milliseconds(50);
        return now - checkedAt < kMoment && hostFileWrites == net::HostFileWritesInThisProcess();
    }
    void checked(std::uint64_t scope, std::chrono::steady_clock::time_point now)
    {
        checkedInScope = scope;
        checkedAt = now;
        hostFileWrites = net::HostFileWritesInThisProcess();
    }
};

struct ConnectionTable {
    std::mutex mutex;
    fs::path networkRoot;

    // Keeps only the connections of the network in use. A root named by
    // TARVEX_NETWORK is told unchanged without working out its path again.
    void useCurrentNetwork()
    {
        const char* named = std::getenv("TARVEX_NETWORK");
        if (named && *named && networkRoot.native() == named) return;
        fs::path current = net::NetworkRoot();
        if (networkRoot.native() == current.native()) return;
        byHost.clear();
        networkRoot = std::move(current);
    }
    std::map<std::string, Connection> byHost;
};

std::uint64_t currentScopeSerial()
{
    const WriteScope* scope = WriteScope::Current();
    return scope ? scope->serial() : 0;
}

ConnectionTable& connections()
{
    static ConnectionTable table;
    return table;
}

} // namespace

std::optional<HostStore::Identity> HostStore::identify(int folder, const char* path)
{
    struct stat status {};
    if (::fstatat(folder, path, &status, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
    return Identity{status.st_dev, status.st_ino, status.st_size, status.st_mtim};
}

bool HostStore::sameFile(const Identity& a, const Identity& b)
{
    return a.device == b.device && a.inode == b.inode && a.size == b.size && a.modified.tv_sec == b.modified.tv_sec
        && a.modified.tv_nsec == b.modified.tv_nsec;
}

std::shared_ptr<HostStore> HostStore::Connect(std::string_view hostName)
{
    ConnectionTable& table = connections();
    std::lock_guard guard(table.mutex);
    table.useCurrentNetwork();
    const std::string key = net::CaseFold(hostName);
    const std::uint64_t scope = currentScopeSerial();
    const auto now = std::chrono::steady_clock::now();
    if (auto found = table.byHost.find(key); found != table.byHost.end()) {
        Connection& connection = found->second;
        if (scope != 0 && connection.checkedInScope == scope) return connection.store;
        if (connection.settingsCheckedJustNow(now) || connection.store->settingsUnchanged()) {
            connection.checked(scope, now);
            return connection.store;
        }
        table.byHost.erase(found);
    }

    if (!net::NetworkExists())
        throw com::ComError(errStoreUnreachable,
                            "The document store cannot be reached: there is no network at " + table.networkRoot.string());
    const std::optional<net::HostInfo> host = net::FindHost(hostName);
    if (!host)
        throw com::ComError(errHostNotFound, "The server name or address could not be resolved: " + std::string(hostName));
    if (!host->reachable)
        throw com::ComError(errHostUnreachable, "The connection with the server could not be established: " + host->name);
    std::optional<net::Folder> hostFolder = net::OpenHostFolder(host->name);
    std::optional<net::Folder> root = hostFolder ? hostFolder->openFolder({kStoreFolder}) : std::nullopt;
    if (!host->runsService(kStoreService) || !root)
        throw com::ComError(errNoStoreOnHost, "The server " + host->name + " runs no document store");

    auto store = std::shared_ptr<HostStore>(new HostStore(*host, std::move(*hostFolder), std::move(*root)));
    Connection connection{store, 0, {}, 0};
    connection.checked(scope, now);
    table.byHost.emplace(key, std::move(connection));
    return store;
}

HostStore::HostStore(net::HostInfo host, net::Folder hostFolder, net::Folder root)
    : host_(std::move(host)),
      hostFolder_(std::move(hostFolder)),
      root_(std::move(root)),
      hostFile_(identify(hostFolder_.descriptor(), "host.ini").value_or(Identity{})),
      lock_(root_.openOrCreateFile(kLockFile))
{
    struct stat status {};
    void* mapped = MAP_FAILED;
    if (::fstat(lock_.get(), &status) == 0
        && (status.st_size >= off_t(sizeof(std::uint64_t)) || ::ftruncate(lock_.get(), sizeof(std::uint64_t)) == 0))
        mapped = ::mmap(nullptr, sizeof(std::uint64_t), PROT_READ | PROT_WRITE, MAP_SHARED, lock_.get(), 0);
    if (mapped == MAP_FAILED) throwSystemError("Cannot open the lock of the document store of " + host_.name);
    generation_ = static_cast<std::uint64_t*>(mapped);
}

HostStore::~HostStore()
{
    ::munmap(generation_, sizeof(std::uint64_t));
}

// host.ini is rewritten whole on every change. A store folder removed
// meanwhile shows when an item is looked for (requireStoreFolder).
bool HostStore::settingsUnchanged() const
{
    const std::optional<Identity> hostFile = identify(hostFolder_.descriptor(), "host.ini");
    return hostFile && sameFile(*hostFile, hostFile_);
}

void HostStore::requireStoreFolder() const
{
    struct stat rootFolder {};
    if (::fstat(root_.descriptor(), &rootFolder) == 0 && rootFolder.st_nlink > 0) return;
    ConnectionTable& table = connections();
    {
        std::lock_guard guard(table.mutex);
        std::erase_if(table.byHost, [this](const auto& entry) { return entry.second.store.get() == this; });
    }
    throw com::ComError(errNoStoreOnHost, "The document store of " + host_.name + " has been removed");
}

std::uint64_t HostStore::generation() const
{
    return std::atomic_ref<std::uint64_t>(*generation_).load(std::memory_order_acquire);
}

void HostStore::writeGeneration(std::uint64_t generation)
{
    std::atomic_ref<std::uint64_t>(*generation_).store(generation, std::memory_order_release);
}

HostStore::WriteLock::WriteLock(HostStore& store) : store_(store)
{
    WriteScope* scope = WriteScope::Current();
    if (!scope || !scope->holdsLock(store_)) {
        lockFile(store_.lock_.get(), LOCK_EX);
        if (scope) scope->holdLock(store_.shared_from_this());
    }
    heldByScope_ = scope != nullptr;
    generation_ = store_.generation();
}

HostStore::WriteLock::~WriteLock()
{
    if (!heldByScope_) ::flock(store_.lock_.get(), LOCK_UN);
}

void HostStore::releaseScopeLock()
{
    ::flock(lock_.get(), LOCK_UN);
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
    if (change != StoreChange::Tree) names_.carryOver(from, to);
    if (change != StoreChange::Tree && change != StoreChange::Roles) roles_.carryOver(from, to);
    // Adding or removing an item, or changing a document, leaves the
    // containers as they were; the documents read may be the one changed.
    if (change == StoreChange::Content || change == StoreChange::NamesInFolder) {
        items_.carryOver(from, to);
        items_.eraseIf([](const std::shared_ptr<const LoadedItem>& item) { return !IsContainer(item->data.kind); });
    }
}

std::shared_ptr<const LoadedItem> HostStore::cachedItem(const std::string& pathKey, std::uint64_t generation)
{
    const std::shared_ptr<const LoadedItem>* cached = items_.find(pathKey, generation);
    return cached ? *cached : nullptr;
}

void HostStore::cacheItem(const std::string& pathKey, std::uint64_t generation, std::shared_ptr<const LoadedItem> item)
{
    items_.keep(pathKey, generation, std::move(item));
}

const std::vector<ListedEntry>* HostStore::cachedListing(const std::string& folderKey, std::uint64_t generation)
{
    return listings_.find(folderKey, generation);
}

void HostStore::cacheListing(const std::string& folderKey, std::uint64_t generation, std::vector<ListedEntry> entries)
{
    listings_.keep(folderKey, generation, std::move(entries));
}

const RoleLists* HostStore::cachedRoles(const std::string& containerKey, std::uint64_t generation) const
{
    return roles_.find(containerKey, generation);
}

const RoleLists& HostStore::cacheRoles(const std::string& containerKey, std::uint64_t generation, RoleLists roles)
{
    return roles_.keep(containerKey, generation, std::move(roles));
}

HostStore::FolderNames* HostStore::cachedNames(const std::string& folderKey, std::uint64_t generation)
{
    return names_.find(folderKey, generation);
}

HostStore::FolderNames& HostStore::cacheNames(const std::string& folderKey, std::uint64_t generation, FolderNames names)
{
    return names_.keep(folderKey, generation, std::move(names));
}

} // namespace store
