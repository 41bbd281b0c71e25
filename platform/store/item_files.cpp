#include "platform/store/item_files.h"

#include "platform/net/case_fold.h"
#include "platform/net/folder.h"
#include "platform/store/errors.h"
#include "platform/store/item_content.h"
#include "platform/store/item_file_layout.h"
#include "platform/store/item_metadata.h"
#include "platform/store/item_url.h"
#include "platform/store/write_scope.h"
#include "platform/sys/system_info.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <memory>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <tuple>
#include <unistd.h>

namespace store {

namespace fs = std::filesystem;

namespace {

using net::FileHandle;

constexpr std::string_view kReservedPrefix = ".tvx.";
constexpr std::string_view kTemporaryPrefix = ".tvx.tmp.";
// The first read of an item file: its head and a small item's content.
constexpr std::size_t kFirstRead = std::size_t(64) << 10;

[[noreturn]] void throwSystemError(const std::string& what, int error = errno)
{
    net::ThrowSystemError(what, error);
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
    return std::string(kTemporaryPrefix) + std::to_string(sys::ProcessId()) + "." + std::to_string(counter++);
}

// Throws a damage found in the item at names again, naming the item's URL.
template <class Read>
auto namingDamage(const HostStore& store, const Names& names, Read read)
{
    try {
        return read();
    } catch (const DamagedItem& damage) {
        throw DamagedItemError(ItemUrlText(store.host().name, names), damage);
    }
}

// Opens a path below the store's folder in one step, refusing links and
// anything that leads out of it; invalid when the exact names do not exist,
// the path is longer than the system takes in one piece, or the kernel has
// no such call (asked once: the callers then find the path name by name).
FileHandle openBeneath(int rootDescriptor, const std::string& relative, int flags)
{
    static std::atomic<bool> kernelLacksIt{false};
    if (kernelLacksIt.load(std::memory_order_relaxed)) {
        errno = ENOSYS;
        return FileHandle();
    }
    open_how how{};
    how.flags = std::uint64_t(flags | O_CLOEXEC);
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
    FileHandle file(int(::syscall(SYS_openat2, rootDescriptor, relative.c_str(), &how, sizeof how)));
    if (!file && errno == ENOSYS) kernelLacksIt = true;
    return file;
}

struct OpenedEntry {
    Names names;
    FileHandle descriptor;
    bool directory = false;
    std::size_t size = 0;
    std::string start; // a file's first bytes, up to kFirstRead
};

// The entry at path found one folder at a time, names matched without regard
// to case, through the network's folders (which refuse links); nullopt when a
// name is missing. Depth is not limited by the length of the whole path.
std::optional<OpenedEntry> resolveEntry(const HostStore& store, const Names& path)
{
    OpenedEntry entry;
    if (path.empty()) {
        entry.descriptor = FileHandle(::fcntl(store.rootDescriptor(), F_DUPFD_CLOEXEC, 0));
        return entry;
    }
    std::optional<net::Folder> folder;
    for (std::size_t index = 0; index + 1 < path.size(); ++index) {
        folder = (folder ? *folder : store.rootFolder()).openFolder({path[index]});
        if (!folder) return std::nullopt;
        entry.names.push_back(folder->path().filename().string());
    }
    const net::Folder& parent = folder ? *folder : store.rootFolder();
    const std::optional<std::string> name = parent.find(path.back());
    std::optional<FileHandle> opened = name ? parent.openFile(*name, O_RDONLY) : std::nullopt;
    if (!opened) return std::nullopt;
    entry.names.push_back(*name);
    entry.descriptor = std::move(*opened);
    return entry;
}

// What an open entry is, found by reading its start at once: a folder refuses
// the read, and a file that ends within the first read tells its size with
// it. Anything else is asked of the file system. Only folders and files are
// entries of the store.
bool describeEntry(OpenedEntry& entry)
{
    thread_local const std::unique_ptr<char[]> buffer(new char[kFirstRead]);
    ssize_t count = 0;
    do count = ::pread(entry.descriptor.get(), buffer.get(), kFirstRead, 0);
    while (count < 0 && errno == EINTR);
    if (count < 0 && errno == EISDIR) {
        entry.directory = true;
        return true;
    }
    if (count > 0 && std::size_t(count) < kFirstRead) {
        entry.size = std::size_t(count);
        entry.start.assign(buffer.get(), std::size_t(count));
        return true;
    }
    struct stat status {};
    if (::fstat(entry.descriptor.get(), &status) != 0) throwSystemError("Cannot read " + NamesKey(entry.names));
    if (!S_ISDIR(status.st_mode) && !S_ISREG(status.st_mode)) return false;
    entry.directory = S_ISDIR(status.st_mode);
    entry.size = std::size_t(status.st_size);
    if (count > 0) entry.start.assign(buffer.get(), std::size_t(count));
    return true;
}

// Entries are opened without waiting: a pipe put in the store's folder is no
// item and must not hold the store up until someone writes to it.
std::optional<OpenedEntry> openEntry(const HostStore& store, const Names& path)
{
    requireItemNames(path);
    const std::string relative = path.empty() ? "." : NamesKey(path);
    std::optional<OpenedEntry> entry =
        OpenedEntry{path, openBeneath(store.rootDescriptor(), relative, O_RDONLY | O_NONBLOCK), false, 0, {}};
    if (!entry->descriptor) {
        // Another letter case, a link, a path longer than one call takes, or
        // a kernel without openat2.
        entry = resolveEntry(store, path);
        if (!entry) {
            store.requireStoreFolder();
            return std::nullopt;
        }
    }
    if (!describeEntry(*entry)) return std::nullopt;
    return entry;
}

FileHandle openContainer(const HostStore& store, const Names& names)
{
    std::optional<OpenedEntry> entry = openEntry(store, names);
    if (!entry || !entry->directory)
        throw com::ComError(errItemNotFound, "The folder \"" + NamesKey(names) + "\" does not exist");
    return std::move(entry->descriptor);
}

// Up to size bytes from offset; fewer only when the file ends first.
std::string readAt(int descriptor, std::size_t offset, std::size_t size)
{
    std::string bytes(size, '\0');
    std::size_t filled = 0;
    while (filled < size) {
        const ssize_t count = ::pread(descriptor, bytes.data() + filled, size - filled, off_t(offset + filled));
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) throwSystemError("Cannot read an item of the document store");
        if (count == 0) break;
        filled += std::size_t(count);
    }
    bytes.resize(filled);
    return bytes;
}

// The start of an item file in one read large enough to hold a small item
// whole: the header, both metadata slots and the first content bytes; or the
// start of a file that is not a slotted one. The slots are read again while
// another process is seen rewriting the metadata: a writer changes only the
// slot that is not current, so a read meets both slots incomplete only when
// two updates overlap it.
std::string readItemStart(int descriptor, std::size_t size, std::size_t firstRead = kFirstRead, std::string start = {})
{
    constexpr int kAttempts = 4;
    if (start.empty()) start = readAt(descriptor, 0, std::min(size, firstRead));
    const std::optional<ItemFileLayout> layout = DecodeItemHeader(start);
    if (!layout || size < layout->contentOffset()) return start; // cut short: no slots to wait for
    if (start.size() < layout->contentOffset()) start = readAt(descriptor, 0, layout->contentOffset());
    for (int attempt = 1; attempt < kAttempts && !CurrentMetadataSlot(*layout, start); ++attempt)
        start.replace(0, layout->contentOffset(), readAt(descriptor, 0, layout->contentOffset()));
    return start;
}

// The content bytes that came with the start of an item file.
std::string_view contentIn(std::string_view start, const ItemFileLayout& layout)
{
    return start.substr(std::min(start.size(), layout.contentOffset()));
}

// A document's or schema item's file: its metadata and its content, which
// stays in the file (held open) beyond what came with the file's start
// (firstRead, when it was read already).
std::pair<ItemData, Content> readItemFile(FileHandle file, std::size_t size, std::string firstRead, std::string url)
{
    const std::string start = readItemStart(file.get(), size, kFirstRead, std::move(firstRead));
    if (!IsSlottedItemFile(start)) {
        std::string bytes = readAt(file.get(), 0, size); // a file of the earliest kind
        std::string content;
        ItemData data = DecodeItemFile(bytes, content);
        return {std::move(data), Content(std::move(content))};
    }
    const std::optional<ItemFileLayout> layout = DecodeItemHeader(start);
    if (!layout) throw DamagedItem("unreadable header");
    RequireWholeItemFile(*layout, size);
    ItemData data = DecodeItemHead(*layout, start);
    auto stored = std::make_shared<const StoredContent>(std::move(file), *layout, std::string(contentIn(start, *layout)),
                                                        std::move(url));
    return {std::move(data), Content(std::move(stored))};
}

ItemKind containerKindAt(std::size_t depth, ItemKind stored)
{
    if (depth == 0) return ItemKind::Server;
    if (depth == 1) return ItemKind::Workspace;
    return stored == ItemKind::CategoryFolder ? ItemKind::CategoryFolder : ItemKind::Folder;
}

// A container's metadata; a folder without its file (made by hand) reads as
// a plain folder that takes its parent's roles. The file is the store's own:
// a link in its place is refused, a pipe or folder is damage.
ItemData readContainerData(const HostStore& store, int directory, const Names& names)
{
    ItemData data;
    const std::string file(kContainerFile);
    FileHandle metadata(::openat(directory, file.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    if (metadata) {
        struct stat status {};
        if (::fstat(metadata.get(), &status) != 0) throwSystemError("Cannot read a folder of the document store");
        if (!S_ISREG(status.st_mode)) throw DamagedItem("its metadata file is not a file");
        data = DecodeContainerFile(readAt(metadata.get(), 0, std::size_t(status.st_size)));
    } else if (errno == ENOENT) {
        data.kind = containerKindAt(names.size(), ItemKind::Folder);
        data.contentClass = DefaultContentClass(data.kind);
        data.inheritsRoles = names.size() >= 2;
    } else if (errno == ELOOP) {
        fs::path path = store.root();
        for (const std::string& name : names) path /= name;
        net::ThrowLinkRefused(path / file);
    } else {
        throwSystemError("Cannot read a folder of the document store");
    }
    data.kind = containerKindAt(names.size(), data.kind);
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

// A file written whole, still open; the layout and head are those of an item
// file.
struct WrittenFile {
    FileHandle file;
    ItemFileLayout layout;
    std::string head;
};

// Creates a new file in a folder and lets write fill it; the file is removed
// again when that fails.
template <class Write>
WrittenFile writeNewFile(int directory, const std::string& name, Write write)
{
    WrittenFile written{FileHandle(::openat(directory, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644)), {}, {}};
    if (!written.file) throwSystemError("Cannot create " + name + " in the document store");
    try {
        write(written);
    } catch (...) {
        ::unlinkat(directory, name.c_str(), 0);
        throw;
    }
    return written;
}

// A container's metadata file; its time is the item's own last-modified
// time, so that listings show it without reading the file.
WrittenFile writeContainerFile(int directory, const std::string& name, const ItemData& data)
{
    return writeNewFile(directory, name, [&](WrittenFile& written) {
        writeAll(written.file.get(), EncodeContainerFile(data));
        const timespec times[2] = {{0, UTIME_OMIT}, {data.lastModified.seconds, 0}};
        if (::futimens(written.file.get(), times) != 0)
            throwSystemError("Cannot write " + name + " to the document store");
    });
}

WrittenFile writeItemFile(int directory, const std::string& name, const ItemData& data, const Content& content)
{
    return writeNewFile(directory, name, [&](WrittenFile& written) {
        ItemFileWriter writer(written.file.get(), EncodeItemMetadata(data));
        content.read(0, content.size(), [&](std::string_view piece) { writer.append(piece); });
        written.layout = writer.finish(data.lastModified);
        written.head = writer.head();
    });
}

// The content of an item file just written, read from it from now on; its
// metadata can be rewritten through it.
Content writtenContent(WrittenFile written, std::string url)
{
    auto stored = std::make_shared<const StoredContent>(std::move(written.file), written.layout, std::string(), std::move(url));
    stored->noteWrittenHead(std::move(written.head));
    return Content(std::move(stored));
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

Names parentOf(const Names& names)
{
    return Names(names.begin(), names.end() - 1);
}

// The file of the item at names (its stored names), opened to be updated in
// place; invalid when it is not there.
FileHandle openItemForUpdate(const HostStore& store, const Names& names)
{
    FileHandle file = openBeneath(store.rootDescriptor(), NamesKey(names), O_RDWR | O_NONBLOCK);
    if (file || errno == ENOENT) return file;
    // A path longer than one call takes, or a kernel without openat2.
    const FileHandle folder = openContainer(store, parentOf(names));
    return FileHandle(::openat(folder.get(), names.back().c_str(), O_RDWR | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
}

// Puts metadata into the free slot of an item file whose start (up to its
// content) is head, and gives the file the item's time. False when the item
// has to be written whole. A write that fails leaves the slot marked
// unwritten, so that readers keep the metadata that was current before. The
// head with the new slot in it goes to content, when content keeps one.
bool writeMetadataSlot(int file, std::string head, std::size_t size, const ItemData& data, const std::string& name,
                       const StoredContent& content)
{
    const std::optional<SlotWrite> update = MetadataUpdateFor(head, size, EncodeItemMetadata(data));
    if (!update) return false;
    const timespec times[2] = {{0, UTIME_OMIT}, {data.lastModified.seconds, 0}};
    if (!writeAllAt(file, update->bytes, update->offset) || ::futimens(file, times) != 0) {
        const int error = errno;
        const std::string unwritten(kSlotHeaderSize, '\0');
        writeAllAt(file, unwritten, update->offset);
        content.noteWrittenHead({});
        throwSystemError("Cannot write " + name + " to the document store", error);
    }
    MakeDurable(file);
    if (!content.writtenHead().empty()) content.noteWrittenHead(head.replace(update->offset, update->bytes.size(), update->bytes));
    return true;
}

// Rewrites an item's metadata in its own file when the file is the one that
// holds content (content in a file never changes) and the metadata fits the
// file's free slot: no new file, and the flush also keeps the item's new time.
// False when the item has to be written whole. A file this process wrote, and
// that nobody has changed since (unchanged: the store is at the generation
// the item was written at), is written through the descriptor it holds,
// without finding and reading it again.
bool rewriteMetadataInPlace(const HostStore& store, const Names& names, const ItemData& data,
                            const StoredContent& content, bool unchanged)
{
    const std::string& name = names.back();
    if (unchanged && !content.writtenHead().empty())
        return writeMetadataSlot(content.descriptor(), content.writtenHead(), content.layout().fileSize(), data, name, content);

    const FileHandle file = openItemForUpdate(store, names);
    struct stat status {};
    // A file with other links would change under those names too.
    if (!file || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_nlink != 1
        || !content.isFile(status))
        return false;
    const std::size_t size = std::size_t(status.st_size);
    return writeMetadataSlot(file.get(), readItemStart(file.get(), size, content.layout().contentOffset()), size, data,
                             name, content);
}

// Writes the item and everything below it; the files written go to written,
// the item's own file (or its metadata file) first.
void writeTree(int directory, const std::string& name, const NewItem& item, std::vector<WrittenFile>& written)
{
    if (!IsContainer(item.data.kind)) {
        written.push_back(writeItemFile(directory, name, item.data, item.content));
        return;
    }
    if (::mkdirat(directory, name.c_str(), 0755) != 0) throwSystemError("Cannot create " + name + " in the document store");
    FileHandle folder(::openat(directory, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder) throwSystemError("Cannot open " + name + " in the document store");
    written.push_back(writeContainerFile(folder.get(), std::string(kContainerFile), item.data));
    for (const NewItem& child : item.children) writeTree(folder.get(), child.name, child, written);
}

// Every name of a new tree, checked before anything is written.
void requireTreeNames(const NewItem& item)
{
    RequireNewItemName(item.name);
    for (const NewItem& child : item.children) requireTreeNames(child);
}

enum class Replacing { No, Yes, Exchange };

void renameInFolder(int directory, const std::string& from, const std::string& to, Replacing replacing = Replacing::Yes)
{
    const unsigned flags = replacing == Replacing::Yes ? 0 : replacing == Replacing::No ? RENAME_NOREPLACE : RENAME_EXCHANGE;
    if (::renameat2(directory, from.c_str(), directory, to.c_str(), flags) != 0) {
        const int error = errno;
        if (error == ENOENT) throw com::ComError(errItemNotFound, "The item \"" + from + "\" does not exist");
        if (error == EEXIST) throw com::ComError(errItemExists, "An item named \"" + to + "\" exists already");
        throwSystemError("Cannot rename " + from + " in the document store", error);
    }
}

// Makes files durable at once, whatever scope is open.
void flushNow(const std::vector<WrittenFile>& written)
{
    for (const WrittenFile& file : written) FlushNow(file.file.get());
}

// The names in an open folder that may be items, by their case-folded form.
template <class Visit>
void visitFolder(int folder, const std::string& shown, Visit visit)
{
    DIR* stream = net::OpenFolderStream(folder);
    if (!stream) throwSystemError("Cannot list " + shown);
    while (const dirent* entry = ::readdir(stream)) visit(*entry);
    ::closedir(stream);
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
    return name.size() >= kReservedPrefix.size()
        && net::EqualsIgnoringCase(name.substr(0, kReservedPrefix.size()), kReservedPrefix);
}

void RequireNewItemName(std::string_view name)
{
    requireItemName(name);
    net::RequireStorableName(name);
}

std::shared_ptr<const LoadedItem> ItemFiles::load(const Names& path) const
{
    const std::string key = net::CaseFold(NamesKey(path));
    const std::uint64_t generation = store_.generation();
    if (std::shared_ptr<const LoadedItem> cached = store_.cachedItem(key, generation)) {
        store_.requireStoreFolder();
        return cached;
    }

    std::optional<OpenedEntry> entry = openEntry(store_, path);
    if (!entry) return nullptr;
    LoadedItem item{std::move(entry->names), {}, {}};
    namingDamage(store_, item.names, [&] {
        if (entry->directory) {
            item.data = readContainerData(store_, entry->descriptor.get(), item.names);
        } else {
            std::tie(item.data, item.content) = readItemFile(std::move(entry->descriptor), entry->size, std::move(entry->start),
                                                             ItemUrlText(store_.host().name, item.names));
            if (IsContainer(item.data.kind)) throw DamagedItem("a folder's metadata in a file");
        }
    });
    auto loaded = std::make_shared<const LoadedItem>(std::move(item));
    // A document is opened again within the work of a write scope (a copy
    // opens its source more than once); outside one, documents are read once
    // each (a listing), and keeping them would only push out the folders and
    // schema items that are asked for again and again.
    if (loaded->data.kind != ItemKind::Document || WriteScope::Current()) store_.cacheItem(key, generation, loaded);
    return loaded;
}

ItemData ItemFiles::loadContainer(const Names& names) const
{
    const FileHandle folder = openContainer(store_, names);
    return namingDamage(store_, names, [&] { return readContainerData(store_, folder.get(), names); });
}

std::vector<ListedEntry> ItemFiles::list(const Names& names) const
{
    const std::string key = NamesKey(names);
    const std::uint64_t generation = store_.generation();
    if (const std::vector<ListedEntry>* cached = store_.cachedListing(key, generation)) {
        store_.requireStoreFolder();
        return *cached;
    }

    const FileHandle folder = openContainer(store_, names);
    std::vector<std::pair<std::string, ListedEntry>> sorted;
    const std::string metadataSuffix = "/" + std::string(kContainerFile);
    visitFolder(folder.get(), NamesKey(names), [&](const dirent& entry) {
        const std::string_view name = entry.d_name;
        if (!net::IsSafeName(name) || IsReservedName(name)) return;
        unsigned char type = entry.d_type;
        struct stat status {};
        if (type == DT_UNKNOWN) {
            if (::fstatat(folder.get(), entry.d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) return;
            type = S_ISDIR(status.st_mode) ? DT_DIR : S_ISREG(status.st_mode) ? DT_REG : DT_UNKNOWN;
        }
        if (type != DT_DIR && type != DT_REG) return;
        const bool container = type == DT_DIR;
        const std::string timed = container ? std::string(name) + metadataSuffix : std::string(name);
        if (::fstatat(folder.get(), timed.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0
            && (!container || ::fstatat(folder.get(), entry.d_name, &status, AT_SYMLINK_NOFOLLOW) != 0))
            return;
        sorted.emplace_back(net::CaseFold(name), ListedEntry{std::string(name), container, {status.st_mtim.tv_sec}});
    });

    std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : a.second.name < b.second.name;
    });
    std::vector<ListedEntry> entries;
    entries.reserve(sorted.size());
    for (auto& [folded, entry] : sorted) entries.push_back(std::move(entry));
    store_.cacheListing(key, generation, entries);
    return entries;
}

std::optional<std::string> ItemFiles::existingName(HostStore::WriteLock& lock, const Names& parent, std::string_view name)
{
    const std::string key = NamesKey(parent);
    HostStore::FolderNames* names = store_.cachedNames(key, lock.generation());
    if (!names) {
        // Under the write lock no other writer is at work, so any temporary
        // entry found here was left by one that stopped midway.
        const FileHandle folder = openContainer(store_, parent);
        HostStore::FolderNames found;
        visitFolder(folder.get(), key, [&](const dirent& entry) {
            const std::string_view entryName = entry.d_name;
            if (entryName.starts_with(kTemporaryPrefix)) net::RemoveTreeAt(folder.get(), entry.d_name);
            else if (net::IsSafeName(entryName) && !IsReservedName(entryName))
                found.emplace(net::CaseFold(entryName), entryName);
        });
        names = &store_.cacheNames(key, lock.generation(), std::move(found));
    }
    const auto match = names->find(net::CaseFold(name));
    if (match == names->end()) return std::nullopt;
    return match->second;
}

Content ItemFiles::create(HostStore::WriteLock& lock, const Names& parent, const NewItem& item)
{
    requireTreeNames(item);
    if (existingName(lock, parent, item.name))
        throw com::ComError(errItemExists, "An item named \"" + item.name + "\" exists already in \"" + NamesKey(parent) + "\"");
    return put(lock, parent, item, nullptr);
}

Content ItemFiles::replace(HostStore::WriteLock& lock, const Names& parent, const NewItem& item, const LoadedItem& replaced)
{
    requireTreeNames(item);
    return put(lock, parent, item, &replaced);
}

Content ItemFiles::put(HostStore::WriteLock& lock, const Names& parent, const NewItem& item, const LoadedItem* replaced)
{
    const FileHandle folder = openContainer(store_, parent);
    const std::string temporary = temporaryName();
    std::vector<WrittenFile> written;
    try {
        writeTree(folder.get(), temporary, item, written);
        if (replaced) {
            // The old item goes only once the new one is whole on disk.
            flushNow(written);
            renameInFolder(folder.get(), temporary, replaced->names.back(), Replacing::Exchange);
        } else {
            renameInFolder(folder.get(), temporary, item.name, Replacing::No);
        }
    } catch (...) {
        net::RemoveTreeAt(folder.get(), temporary);
        throw;
    }
    HostStore::FolderNames* cachedNames = store_.cachedNames(NamesKey(parent), lock.generation());
    bool containersChanged = IsContainer(item.data.kind);
    if (replaced) {
        // The temporary name holds the old item now; what a crash leaves of
        // it is cleared away by the next writer.
        net::RemoveTreeAt(folder.get(), temporary);
        const std::string& oldName = replaced->names.back();
        if (oldName != item.name) renameInFolder(folder.get(), oldName, item.name, Replacing::No);
        if (cachedNames) cachedNames->erase(net::CaseFold(oldName));
        containersChanged = containersChanged || IsContainer(replaced->data.kind);
    }
    if (cachedNames) cachedNames->emplace(net::CaseFold(item.name), item.name);
    lock.commit(replaced && containersChanged ? StoreChange::Tree : StoreChange::NamesInFolder);
    for (const WrittenFile& file : written) MakeDurable(file.file.get());
    if (IsContainer(item.data.kind)) return {};
    Names names = parent;
    names.push_back(item.name);
    return writtenContent(std::move(written.front()), ItemUrlText(store_.host().name, names));
}

Content ItemFiles::replaceItem(HostStore::WriteLock& lock, const Names& names, const ItemData& data, const Content& content,
                               bool unchanged)
{
    const StoredContent* stored = content.wholeStoredContent();
    if (stored && rewriteMetadataInPlace(store_, names, data, *stored, unchanged)) {
        lock.commit(StoreChange::Content);
        return content;
    }
    const FileHandle folder = openContainer(store_, parentOf(names));
    const std::string temporary = temporaryName();
    WrittenFile written = writeItemFile(folder.get(), temporary, data, content);
    try {
        renameInFolder(folder.get(), temporary, names.back());
    } catch (...) {
        ::unlinkat(folder.get(), temporary.c_str(), 0);
        throw;
    }
    lock.commit(StoreChange::Content);
    MakeDurable(written.file.get());
    return writtenContent(std::move(written), ItemUrlText(store_.host().name, names));
}

void ItemFiles::replaceContainer(HostStore::WriteLock& lock, const Names& names, const ItemData& data, StoreChange change)
{
    const FileHandle folder = openContainer(store_, names);
    const std::string temporary = temporaryName();
    const WrittenFile written = writeContainerFile(folder.get(), temporary, data);
    try {
        renameInFolder(folder.get(), temporary, std::string(kContainerFile));
    } catch (...) {
        ::unlinkat(folder.get(), temporary.c_str(), 0);
        throw;
    }
    lock.commit(change);
    MakeDurable(written.file.get());
}

void ItemFiles::remove(HostStore::WriteLock& lock, const Names& names, bool container)
{
    const Names parent = parentOf(names);
    const FileHandle folder = openContainer(store_, parent);
    // Out of sight in one step; what remains of a removal cut short is a
    // temporary entry that the next writer clears away.
    const std::string temporary = temporaryName();
    renameInFolder(folder.get(), names.back(), temporary);
    net::RemoveTreeAt(folder.get(), temporary);
    if (HostStore::FolderNames* cached = store_.cachedNames(NamesKey(parent), lock.generation()))
        cached->erase(net::CaseFold(names.back()));
    lock.commit(container ? StoreChange::Tree : StoreChange::NamesInFolder);
}

} // namespace store
