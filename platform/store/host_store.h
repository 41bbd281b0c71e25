#pragma once
// A connection to the document store of one host: the checks that the host can
// be reached and runs a store, the store's folder, the lock that serialises
// writers of all processes, and the caches that the store's generation number
// keeps valid.
//
// The host's folder and the store's folder are opened once, without links, and
// every item is reached through them.
//
// The lock file ".tvx.lock" in the store's folder carries the generation: a
// number that every write raises while it holds the exclusive lock. Each
// process maps it, so reading it costs no system call. What a process caches
// about the store (role lists in force, the names and entries of a folder,
// opened items) is valid for as long as the generation it was read at is the
// current one; a writer that knows what it changed carries the unaffected
// entries on to its new generation.

#include "platform/net/network.h"
#include "platform/store/generation_cache.h"
#include "platform/store/item_data.h"
#include "platform/store/roles.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unordered_map>

namespace store {

// The service a host runs when it is a document-store server.
inline constexpr char kStoreService[] = "MSDMSERV";

// What a finished write changed, so that the caches can be carried over.
enum class StoreChange {
    Content,         // an existing document's or schema item's values
    Container,       // an existing container's values; no names, no roles
    NamesInFolder,   // an item added to or removed from one folder, whose
                     // cached names the writer has brought up to date
    Roles,           // a container's roles or inheritance
    Tree,            // containers removed: nothing cached stays valid
};

class HostStore : public std::enable_shared_from_this<HostStore> {
public:
    // Reaches the store of hostName. No network root: errStoreUnreachable;
    // unknown host: errHostNotFound; host not reachable: errHostUnreachable;
    // no "MSDMSERV" service or no store folder: errNoStoreOnHost. Connections
    // are kept per process and checked each time (inside a write scope the
    // first time the scope reaches the host); the host's settings at most
    // once a moment (50 ms), unless this process changed a host meanwhile.
    static std::shared_ptr<HostStore> Connect(std::string_view hostName);

    ~HostStore();
    HostStore(const HostStore&) = delete;
    HostStore& operator=(const HostStore&) = delete;

    const net::HostInfo& host() const { return host_; }
    const std::filesystem::path& root() const { return root_.path(); }
    // The store's folder, open, for lookups relative to it.
    const net::Folder& rootFolder() const { return root_; }
    int rootDescriptor() const { return root_.descriptor(); }
    // Called when an item is not found, and before what the caches hold is
    // served: the store's folder itself may have been removed, which Connect
    // does not check. Throws errNoStoreOnHost then, and the next Connect looks
    // at the host afresh.
    void requireStoreFolder() const;

    // The store's current generation.
    std::uint64_t generation() const;

    // Holds the store's exclusive lock; commit() raises the generation. Inside
    // a write scope the lock, once taken, is held until the scope commits, so
    // that the writes of one piece of work (a save, a check-in, publishing)
    // take it once.
    class WriteLock {
    public:
        explicit WriteLock(HostStore& store);
        ~WriteLock();
        WriteLock(const WriteLock&) = delete;
        WriteLock& operator=(const WriteLock&) = delete;

        std::uint64_t generation() const { return generation_; }
        void commit(StoreChange change);

    private:
        HostStore& store_;
        std::uint64_t generation_;
        bool heldByScope_ = false;
    };
    // Gives up the lock a write scope held.
    void releaseScopeLock();

    // Role lists in force for a container (key: its stored names joined by
    // "/"), cached at a generation; an entry stays in place until the store
    // next changes.
    const RoleLists* cachedRoles(const std::string& containerKey, std::uint64_t generation) const;
    const RoleLists& cacheRoles(const std::string& containerKey, std::uint64_t generation, RoleLists roles);

    // The names in a folder, by their case-folded form; valid only under the
    // write lock at the generation given.
    using FolderNames = std::unordered_map<std::string, std::string>;
    FolderNames* cachedNames(const std::string& folderKey, std::uint64_t generation);
    FolderNames& cacheNames(const std::string& folderKey, std::uint64_t generation, FolderNames names);

    // Items as they were read (key: the path asked for, case folded), and
    // the entries of folders (key: their stored names), at a generation. A
    // change to any item drops them all. Only the most recently used are kept:
    // enough for a copy to open its source item, the source's schema and its
    // definitions once per document and find them again.
    std::shared_ptr<const LoadedItem> cachedItem(const std::string& pathKey, std::uint64_t generation);
    void cacheItem(const std::string& pathKey, std::uint64_t generation, std::shared_ptr<const LoadedItem> item);
    const std::vector<ListedEntry>* cachedListing(const std::string& folderKey, std::uint64_t generation);
    void cacheListing(const std::string& folderKey, std::uint64_t generation, std::vector<ListedEntry> entries);

private:
    struct Identity {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified{};
    };
    static std::optional<Identity> identify(int folder, const char* path);
    static bool sameFile(const Identity& a, const Identity& b);

    static constexpr std::size_t kCachedItems = 64;
    static constexpr std::size_t kCachedListings = 16;

    HostStore(net::HostInfo host, net::Folder hostFolder, net::Folder root);
    // Whether the host's settings are as they were when it was connected.
    bool settingsUnchanged() const;
    void carryOver(std::uint64_t from, std::uint64_t to, StoreChange change);
    void writeGeneration(std::uint64_t generation);

    net::HostInfo host_;
    net::Folder hostFolder_;
    net::Folder root_;
    Identity hostFile_;
    net::FileHandle lock_;
    std::uint64_t* generation_ = nullptr; // mapped from the lock file
    mutable GenerationCache<RoleLists> roles_;
    GenerationCache<FolderNames> names_;
    GenerationCache<std::shared_ptr<const LoadedItem>> items_{kCachedItems};
    GenerationCache<std::vector<ListedEntry>> listings_{kCachedListings};
};

} // namespace store
