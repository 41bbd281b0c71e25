#pragma once
// The files behind the items of one host's store. The store's folder mirrors
// the URL tree: a container is a folder holding its metadata file, any other
// item is one file. Names keep their case and are found without regard to
// case (the exact name first, a scan of the folder only when that fails).
// Nothing resolves outside the store's folder.
//
// A new or changed item goes whole to a temporary entry in the same folder
// and is then renamed into place, so that no reader, and no crash of the
// writer, ever meets half an item. A change of a document's or schema item's
// metadata alone is written into a free slot of the item's own file (see
// item_file_layout.h): a reader or a crash meets the metadata before or after
// it, never a mix. Each written file is then flushed once, at once or with
// the write scope it belongs to (write_scope.h); the flush after the rename
// makes the new name durable with the file. Content is written and read in
// pieces against its checksum (item_content.h), never held whole. Temporary
// and metadata entries carry the reserved prefix ".tvx." (in any letter
// case) and are never items.
//
// Entries are opened below the store's open folder without following links;
// a path too long for one call is resolved one folder at a time. Damage found
// in a stored file is reported with errDamagedItem naming the item's URL.
// Items and listings read are kept in the store's caches while its
// generation stays the same; documents only when read inside a write scope.

#include "platform/store/host_store.h"
#include "platform/store/item_data.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace store {

// The key of a path in the caches: its stored names joined by "/".
std::string NamesKey(const Names& names);
// Whether a name is one of the store's own entries (reserved prefix ".tvx.",
// in any letter case).
bool IsReservedName(std::string_view name);
// The check every name of a new item passes: a safe name, not reserved
// (ERROR_INVALID_NAME), and no longer than the file system holds
// (ERROR_FILENAME_EXCED_RANGE).
void RequireNewItemName(std::string_view name);

// A new item to write: a container with the items below it, or an item with
// its content.
struct NewItem {
    std::string name;
    ItemData data;
    Content content;
    std::vector<NewItem> children;
};

class ItemFiles {
public:
    explicit ItemFiles(HostStore& store) : store_(store) {}

    // The item at path, names matched without regard to case; nullopt when it
    // does not exist. An unsafe or reserved name, or a link on the way, throws
    // HResultFromWin32(ERROR_INVALID_NAME).
    std::shared_ptr<const LoadedItem> load(const Names& path) const;
    // The metadata of an existing container given by its stored names.
    ItemData loadContainer(const Names& names) const;
    // The entries right below an existing container, by name without regard
    // to case.
    std::vector<ListedEntry> list(const Names& names) const;

    // The stored name of the entry that matches name in an existing container,
    // under the write lock (served from the names cache).
    std::optional<std::string> existingName(HostStore::WriteLock& lock, const Names& parent, std::string_view name);

    // Writes under the lock; each commits its change. create() throws
    // errItemExists when the parent holds the name in any letter case, and
    // ERROR_FILENAME_EXCED_RANGE, before writing anything, for a name longer
    // than the file system holds. It returns the content of the new item as
    // now stored (empty for a container).
    Content create(HostStore::WriteLock& lock, const Names& parent, const NewItem& item);
    // Writes item in parent in place of the stored item replaced, which has
    // its name in some letter case: the new item is written whole and flushed
    // under a temporary name, exchanged with the old one in one rename, and
    // only then is the old one removed. Returns what create() returns.
    Content replace(HostStore::WriteLock& lock, const Names& parent, const NewItem& item, const LoadedItem& replaced);
    // In place when content is all of the content stored in the item's file
    // and the metadata fits the file's slots; otherwise as a new file. Returns
    // the content as now stored. unchanged: the caller knows that nothing has
    // written the store since it read or wrote the item (the store is at the
    // same generation).
    Content replaceItem(HostStore::WriteLock& lock, const Names& names, const ItemData& data, const Content& content,
                        bool unchanged = false);
    void replaceContainer(HostStore::WriteLock& lock, const Names& names, const ItemData& data, StoreChange change);
    void remove(HostStore::WriteLock& lock, const Names& names, bool container);

private:
    Content put(HostStore::WriteLock& lock, const Names& parent, const NewItem& item, const LoadedItem* replaced);

    HostStore& store_;
};

} // namespace store
