#include "platform/store/item_files.h"

#include "platform/net/atomic_file.h"
#include "platform/net/case_fold.h"
#include "platform/store/errors.h"
#include "platform/store/item_file_layout.h"
#include "platform/store/item_metadata.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace store {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kReservedPrefix = ".tvx.";
constexpr std::string_view kTemporaryPrefix = ".tvx.tmp.";

// Owns one open file descriptor.
class Descriptor {
public:
    explicit Descriptor(int descriptor = -1) : descriptor_(descriptor) {}
    Descriptor(Descriptor&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept
    {
        std::swap(descriptor_, other.descriptor_);
        return *this;
    }
    ~Descriptor()
    {
        if (descriptor_ >= 0) ::close(descriptor_);
    }
    int get() const { return descriptor_; }
    explicit operator bool() const { return descriptor_ >= 0; }
    int release() { return std::exchange(descriptor_, -1); }

private:
    int descriptor_;
};

[[noreturn]] void throwSystemError(const std::string& what, int error = errno)
{
    throw com::ComError(net::HResultFromErrno(error), what + ": " + std::strerror(error));
}

[[noreturn]] void throwInvalidName(std::string_view name)
{
    throw com::ComError(com::HResultFromWin32(net::ERROR_INVALID_NAME),
                        "The name is not allowed in the document store: \"" + std::string(name) + "\"");
}

void requireItemName(std::string_view name)
{
    if (!net::IsSafeName(name) || IsReservedName(name)) throwInvalidName(name);
}

void requireItemNames(const Names& path)
{
    for (const std::string& name : path) requireItemName(name);
}

std::string temporaryName()
{
    static std::atomic<unsigned> counter{0};
    return std::string(kTemporaryPrefix) + std::to_string(::getpid()) + "." + std::to_string(counter++);
}

// Opens a path below the store's folder in one step, refusing links and
// anything that leads out of it; invalid when the exact names do not exist.
Descriptor openBeneath(int rootDescriptor, const std::string& relative, int flags)
{
    open_how how{};
    how.flags = std::uint64_t(flags | O_CLOEXEC);
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
    return Descriptor(int(::syscall(SYS_openat2, rootDescriptor, relative.c_str(), &how, sizeof how)));
}

struct OpenedEntry {
    Names names;
    Descriptor descriptor;
    bool directory = false;
    std::size_t size = 0;
};

// Entries are opened without waiting: a pipe put in the store's folder is no
// item and must not hold the store up until someone writes to it.
std::optional<OpenedEntry> openEntry(const HostStore& store, const Names& path)
{
    requireItemNames(path);
    OpenedEntry entry{path, Descriptor(), false, 0};
    entry.descriptor = openBeneath(store.rootDescriptor(), path.empty() ? "." : NamesKey(path), O_RDONLY | O_NONBLOCK);
    if (!entry.descriptor) {
        // Another letter case, a link, or a kernel without openat2: the
        // network's own resolution decides, names matched without regard to case.
        const fs::path resolved = net::ResolveInside(store.root(), path);
        entry.descriptor = Descriptor(::open(resolved.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        if (!entry.descriptor) {
            if (errno != ENOENT && errno != ENOTDIR) throwSystemError("Cannot open " + resolved.string());
            store.requireStoreFolder();
            return std::nullopt;
        }
        entry.names.clear();
        for (const fs::path& part : resolved.lexically_relative(store.root()))
            if (part != ".") entry.names.push_back(part.string());
    }
    struct stat status {};
    if (::fstat(entry.descriptor.get(), &status) != 0) throwSystemError("Cannot read " + NamesKey(entry.names));
    if (!S_ISDIR(status.st_mode) && !S_ISREG(status.st_mode)) return std::nullopt;
    entry.directory = S_ISDIR(status.st_mode);
    entry.size = std::size_t(status.st_size);
    return entry;
}

Descriptor openContainer(const HostStore& store, const Names& names)
{
    std::optional<OpenedEntry> entry = openEntry(store, names);
    if (!entry || !entry->directory)
        throw com::ComError(errItemNotFound, "The folder \"" + NamesKey(names) + "\" does not exist");
    return std::move(entry->descriptor);
}

// The whole file, from its start. An item's content and header are never
// changed in place, so once the size it had when opened has been read, the
// file is read.
std::string readAll(int descriptor, std::size_t size)
{
    std::string bytes(size, '\0');
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled != 0 && filled == size) break;
            bytes.resize(bytes.size() + 4096);
        }
        const ssize_t count = ::pread(descriptor, bytes.data() + filled, bytes.size() - filled, off_t(filled));
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) throwSystemError("Cannot read an item of the document store");
        if (count == 0) break;
        filled += std::size_t(count);
    }
    bytes.resize(filled);
    return bytes;
}

// An item file, read again while another process is seen rewriting its
// metadata. A writer changes only the slot that is not current, so a read
// meets both slots incomplete only when two updates overlap it.
std::string readItemFile(int descriptor, std::size_t size)
{
    constexpr int kAttempts = 4;
    std::string bytes = readAll(descriptor, size);
    for (int attempt = 1; attempt < kAttempts; ++attempt) {
        const std::optional<ItemFileLayout> layout = DecodeItemHeader(bytes);
        if (!layout || CurrentMetadataSlot(*layout, bytes)) break;
        bytes = readAll(descriptor, size);
    }
    return bytes;
}

std::size_t fileSize(int descriptor)
{
    struct stat status {};
    return ::fstat(descriptor, &status) == 0 ? std::size_t(status.st_size) : 0;
}

ItemKind containerKindAt(std::size_t depth, ItemKind stored)
{
    if (depth == 0) return ItemKind::Server;
    if (depth == 1) return ItemKind::Workspace;
    return stored == ItemKind::CategoryFolder ? ItemKind::CategoryFolder : ItemKind::Folder;
}

// A container's metadata; a folder without its file (made by hand) reads as
// a plain folder that takes its parent's roles.
ItemData readContainerData(int directory, std::size_t depth)
{
    ItemData data;
    Descriptor file(::openat(directory, std::string(kContainerFile).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file) {
        data = DecodeContainerFile(readAll(file.get(), fileSize(file.get())));
    } else if (errno == ENOENT) {
        data.kind = containerKindAt(depth, ItemKind::Folder);
        data.contentClass = DefaultContentClass(data.kind);
        data.inheritsRoles = depth >= 2;
    } else {
        throwSystemError("Cannot read a folder of the document store");
    }
    data.kind = containerKindAt(depth, data.kind);
    return data;
}

void writeAll(int descriptor, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) throwSystemError("Cannot write to the document store");
        bytes.remove_prefix(std::size_t(written));
    }
}

// Writes a new file in a folder, flushed once; its time is the item's own
// last-modified time, so that listings show it without reading the file.
void writeNewFile(int directory, const std::string& name, std::string_view bytes, sys::DateTime modified)
{
    Descriptor file(::openat(directory, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (!file) throwSystemError("Cannot create " + name + " in the document store");
    try {
        writeAll(file.get(), bytes);
        const timespec times[2] = {{0, UTIME_OMIT}, {modified.seconds, 0}};
        if (::futimens(file.get(), times) != 0 || ::fdatasync(file.get()) != 0)
            throwSystemError("Cannot write " + name + " to the document store");
        if (::close(file.release()) != 0) throwSystemError("Cannot write " + name + " to the document store");
    } catch (...) {
        ::unlinkat(directory, name.c_str(), 0);
        throw;
    }
}

// False, with errno set, when a write fails.
bool writeAllAt(int descriptor, std::string_view bytes, std::size_t offset)
{
    while (!bytes.empty()) {
        const ssize_t written = ::pwrite(descriptor, bytes.data(), bytes.size(), off_t(offset));
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return false;
        bytes.remove_prefix(std::size_t(written));
        offset += std::size_t(written);
    }
    return true;
}

// Rewrites an item's metadata in its own file when the content stays as it is
// and the metadata fits the file's free slot: no new file, one flush, which
// also keeps the item's new time. False when the item has to be written
// whole. A write that fails leaves the slot marked unwritten, so that readers
// keep the metadata that was current before.
bool rewriteMetadataInPlace(const HostStore& store, const Names& names, const ItemData& data, std::string_view content)
{
    const std::string path = NamesKey(names);
    const Descriptor file = openBeneath(store.rootDescriptor(), path, O_RDWR | O_NOFOLLOW);
    struct stat status {};
    // A file with other links would change under those names too.
    if (!file || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_nlink != 1) return false;
    const std::optional<SlotWrite> update =
        MetadataUpdateFor(readAll(file.get(), std::size_t(status.st_size)), content, EncodeItemMetadata(data));
    if (!update) return false;

    const timespec times[2] = {{0, UTIME_OMIT}, {data.lastModified.seconds, 0}};
    if (writeAllAt(file.get(), update->bytes, update->offset) && ::futimens(file.get(), times) == 0
        && ::fsync(file.get()) == 0)
        return true;
    const int error = errno;
    const std::string unwritten(kSlotHeaderSize, '\0');
    writeAllAt(file.get(), unwritten, update->offset);
    throwSystemError("Cannot write " + path + " to the document store", error);
}

void writeItemFile(int directory, const std::string& name, const ItemData& data, std::string_view content)
{
    writeNewFile(directory, name, EncodeItemFile(data, content), data.lastModified);
}

void writeTree(int directory, const std::string& name, const NewItem& item)
{
    if (!IsContainer(item.data.kind)) {
        writeItemFile(directory, name, item.data, item.content);
        return;
    }
    if (::mkdirat(directory, name.c_str(), 0755) != 0) throwSystemError("Cannot create " + name + " in the document store");
    Descriptor folder(::openat(directory, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder) throwSystemError("Cannot open " + name + " in the document store");
    writeNewFile(folder.get(), std::string(kContainerFile), EncodeContainerFile(item.data), item.data.lastModified);
    for (const NewItem& child : item.children) writeTree(folder.get(), child.name, child);
}

void requireTreeNames(const NewItem& item)
{
    requireItemName(item.name);
    for (const NewItem& child : item.children) requireTreeNames(child);
}

// Removes an entry that is not (or no longer) an item: a file or a whole folder.
void removeEntry(int directory, const fs::path& folderPath, const std::string& name)
{
    if (::unlinkat(directory, name.c_str(), 0) == 0 || errno == ENOENT) return;
    std::error_code ignored;
    fs::remove_all(folderPath / name, ignored);
}

void renameInFolder(int directory, const std::string& from, const std::string& to)
{
    if (::renameat(directory, from.c_str(), directory, to.c_str()) != 0) {
        const int error = errno;
        if (error == ENOENT) throw com::ComError(errItemNotFound, "The item \"" + from + "\" does not exist");
        throwSystemError("Cannot rename " + from + " in the document store", error);
    }
}

fs::path pathOf(const HostStore& store, const Names& names)
{
    fs::path path = store.root();
    for (const std::string& name : names) path /= name;
    return path;
}

Names parentOf(const Names& names)
{
    return Names(names.begin(), names.end() - 1);
}

} // namespace

std::string NamesKey(const Names& names)
{
    std::string key;
    for (const std::string& name : names) {
        if (!key.empty()) key += '/';
        key += name;
    }
    return key;
}

bool IsReservedName(std::string_view name)
{
    return name.starts_with(kReservedPrefix);
}

std::optional<LoadedItem> ItemFiles::load(const Names& path) const
{
    std::optional<OpenedEntry> entry = openEntry(store_, path);
    if (!entry) return std::nullopt;
    LoadedItem item{std::move(entry->names), {}, {}};
    if (entry->directory) {
        item.data = readContainerData(entry->descriptor.get(), item.names.size());
    } else {
        std::string bytes = readItemFile(entry->descriptor.get(), entry->size);
        item.data = DecodeItemFile(bytes, item.content);
        if (IsContainer(item.data.kind))
            throw com::ComError(errDamagedItem, "The stored item \"" + NamesKey(item.names) + "\" is damaged");
    }
    return item;
}

ItemData ItemFiles::loadContainer(const Names& names) const
{
    const Descriptor folder = openContainer(store_, names);
    return readContainerData(folder.get(), names.size());
}

std::vector<ListedEntry> ItemFiles::list(const Names& names) const
{
    Descriptor folder = openContainer(store_, names);
    DIR* stream = ::fdopendir(::dup(folder.get()));
    if (!stream) throwSystemError("Cannot list " + NamesKey(names));

    std::vector<std::pair<std::string, ListedEntry>> sorted;
    const std::string metadataSuffix = "/" + std::string(kContainerFile);
    while (const dirent* entry = ::readdir(stream)) {
        const std::string_view name = entry->d_name;
        if (!net::IsSafeName(name) || IsReservedName(name)) continue;
        unsigned char type = entry->d_type;
        struct stat status {};
        if (type == DT_UNKNOWN) {
            if (::fstatat(folder.get(), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) continue;
            type = S_ISDIR(status.st_mode) ? DT_DIR : S_ISREG(status.st_mode) ? DT_REG : DT_UNKNOWN;
        }
        if (type != DT_DIR && type != DT_REG) continue;
        const bool container = type == DT_DIR;
        const std::string timed = container ? std::string(name) + metadataSuffix : std::string(name);
        if (::fstatat(folder.get(), timed.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0
            && (!container || ::fstatat(folder.get(), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0))
            continue;
        sorted.emplace_back(net::CaseFold(name), ListedEntry{std::string(name), container, {status.st_mtim.tv_sec}});
    }
    ::closedir(stream);

    std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : a.second.name < b.second.name;
    });
    std::vector<ListedEntry> entries;
    entries.reserve(sorted.size());
    for (auto& [key, entry] : sorted) entries.push_back(std::move(entry));
    return entries;
}

std::optional<std::string> ItemFiles::existingName(HostStore::WriteLock& lock, const Names& parent, std::string_view name)
{
    const std::string key = NamesKey(parent);
    HostStore::FolderNames* names = store_.cachedNames(key, lock.generation());
    if (!names) {
        // Under the write lock no other writer is at work, so any temporary
        // entry found here was left by one that stopped midway.
        Descriptor folder = openContainer(store_, parent);
        DIR* stream = ::fdopendir(::dup(folder.get()));
        if (!stream) throwSystemError("Cannot list " + key);
        HostStore::FolderNames found;
        while (const dirent* entry = ::readdir(stream)) {
            const std::string_view entryName = entry->d_name;
            if (entryName.starts_with(kTemporaryPrefix)) removeEntry(folder.get(), pathOf(store_, parent), entry->d_name);
            else if (net::IsSafeName(entryName) && !IsReservedName(entryName))
                found.emplace(net::CaseFold(entryName), entryName);
        }
        ::closedir(stream);
        names = &store_.cacheNames(key, lock.generation(), std::move(found));
    }
    const auto match = names->find(net::CaseFold(name));
    if (match == names->end()) return std::nullopt;
    return match->second;
}

void ItemFiles::create(HostStore::WriteLock& lock, const Names& parent, const NewItem& item)
{
    requireTreeNames(item);
    if (existingName(lock, parent, item.name))
        throw com::ComError(errItemExists, "An item named \"" + item.name + "\" exists already in \"" + NamesKey(parent) + "\"");
    const Descriptor folder = openContainer(store_, parent);
    const std::string temporary = temporaryName();
    try {
        writeTree(folder.get(), temporary, item);
        renameInFolder(folder.get(), temporary, item.name);
    } catch (...) {
        removeEntry(folder.get(), pathOf(store_, parent), temporary);
        throw;
    }
    if (HostStore::FolderNames* names = store_.cachedNames(NamesKey(parent), lock.generation()))
        names->emplace(net::CaseFold(item.name), item.name);
    lock.commit(StoreChange::NamesInFolder);
}

void ItemFiles::replaceItem(HostStore::WriteLock& lock, const Names& names, const ItemData& data, std::string_view content)
{
    if (rewriteMetadataInPlace(store_, names, data, content)) {
        lock.commit(StoreChange::Content);
        return;
    }
    const Descriptor folder = openContainer(store_, parentOf(names));
    const std::string temporary = temporaryName();
    writeItemFile(folder.get(), temporary, data, content);
    try {
        renameInFolder(folder.get(), temporary, names.back());
    } catch (...) {
        ::unlinkat(folder.get(), temporary.c_str(), 0);
        throw;
    }
    lock.commit(StoreChange::Content);
}

void ItemFiles::replaceContainer(HostStore::WriteLock& lock, const Names& names, const ItemData& data, StoreChange change)
{
    const Descriptor folder = openContainer(store_, names);
    const std::string temporary = temporaryName();
    writeNewFile(folder.get(), temporary, EncodeContainerFile(data), data.lastModified);
    try {
        renameInFolder(folder.get(), temporary, std::string(kContainerFile));
    } catch (...) {
        ::unlinkat(folder.get(), temporary.c_str(), 0);
        throw;
    }
    lock.commit(change);
}

void ItemFiles::remove(HostStore::WriteLock& lock, const Names& names, bool container)
{
    const Names parent = parentOf(names);
    const Descriptor folder = openContainer(store_, parent);
    // Out of sight in one step; what remains of a removal cut short is a
    // temporary entry that the next writer clears away.
    const std::string temporary = temporaryName();
    renameInFolder(folder.get(), names.back(), temporary);
    removeEntry(folder.get(), pathOf(store_, parent), temporary);
    if (HostStore::FolderNames* cached = store_.cachedNames(NamesKey(parent), lock.generation()))
        cached->erase(net::CaseFold(names.back()));
    lock.commit(container ? StoreChange::Tree : StoreChange::NamesInFolder);
}

} // namespace store
