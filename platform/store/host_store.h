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
// process maps it, so reading it costs no system call. What a
// process caches about the store (role lists in force, the names of a folder)
// is valid for as long as the generation it was read at is the current one;
// a writer that knows what it changed carries the unaffected entries on to its
// new generation.

#include "platform/net/network.h"
#include "platform/store/roles.h"

#include <cstdint>
#include <filesystem>
#include <map>
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
    Content,         // an existing item's values; no names, no roles
    NamesInFolder,   // an item added to or removed from one folder, whose
                     // cached names the writer has brought up to date
    Roles,           // a container's roles or inheritance
    Tree,            // containers removed: nothing cached stays valid
};

class HostStore {
public:
    // Reaches the store of hostName. No network root: errStoreUnreachable;
    // unknown host: errHostNotFound; host not reachable: errHostUnreachable;
    // no "MSDMSERV" service or no store folder: errNoStoreOnHost. Connections
    // are kept per process and checked against the host's settings each time.
    static std::shared_ptr<HostStore> Connect(std::string_view hostName);

    ~HostStore();
    HostStore(const HostStore&) = delete;
    HostStore& operator=(const HostStore&) = delete;

    const net::HostInfo& host() const { return host_; }
    const std::filesystem::path& root() const { return root_.path(); }
    // The store's folder, open, for lookups relative to it.
    const net::Folder& rootFolder() const { return root_; }
    int rootDescriptor() const { return root_.descriptor(); }
    // Called when an item is not found: the store's folder itself may have
    // been removed, which Connect does not check on every call. Throws
    // errNoStoreOnHost then, and the next Connect looks at the host afresh.
    void requireStoreFolder() const;

    // The store's current generation.
    std::uint64_t generation() const;

    // Holds the store's exclusive lock; commit() raises the generation.
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
    };

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

private:
    struct Identity {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified{};
    };
    static std::optional<Identity> identify(int folder, const char* path);
    static bool sameFile(const Identity& a, const Identity& b);

    HostStore(net::HostInfo host, net::Folder hostFolder, net::Folder root);
    bool stillValid() const;
    void carryOver(std::uint64_t from, std::uint64_t to, StoreChange change);
    void writeGeneration(std::uint64_t generation);

    // Values read at one generation of the store: all of them are valid as
    // long as that generation is the current one, and are dropped when a value
    // of another generation is kept.
    template <class Value>
    struct GenerationCache {
        std::uint64_t generation = 0;
        std::map<std::string, Value> values;

        Value* find(const std::string& key, std::uint64_t at)
        {
            const auto found = at == generation ? values.find(key) : values.end();
            return found == values.end() ? nullptr : &found->second;
        }
        Value& keep(const std::string& key, std::uint64_t at, Value value)
        {
            if (at != generation) {
                values.clear();
                generation = at;
            }
            return values.insert_or_assign(key, std::move(value)).first->second;
        }
        // A write from `from` to `to` that left these values as they were.
        void carryOver(std::uint64_t from, std::uint64_t to)
        {
            if (generation == from) generation = to;
        }
    };

    net::HostInfo host_;
    net::Folder hostFolder_;
    net::Folder root_;
    Identity hostFile_;
    net::FileHandle lock_;
    std::uint64_t* generation_ = nullptr; // mapped from the lock file
    mutable GenerationCache<RoleLists> roles_;
    GenerationCache<FolderNames> names_;
};

} // namespace store
