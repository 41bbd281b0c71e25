#pragma once
// What the store keeps of an item, and the files it keeps it in. A document or
// schema item is one file: a header, two slots for its metadata (so that the
// metadata can be rewritten in place; see item_file_layout.h and
// item_metadata.h), then the content bytes, which the header's checksum covers. Files of the earlier kind (a
// header line, the metadata as one line of JSON, a line break, the content)
// are still read. A folder, category folder, workspace or the server keeps
// its metadata as JSON in a file inside its folder.

#include "platform/com/variant.h"
#include "platform/store/item_file_layout.h"
#include "platform/store/roles.h"
#include "platform/store/sps.h"
#include "platform/sys/datetime.h"

#include <map>
#include <string>
#include <string_view>

namespace store {

// Property names compare without regard to (ASCII) case and keep their case.
struct PropertyNameLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};
using PropertyMap = std::map<std::string, com::Variant, PropertyNameLess>;

struct PublishingState {
    std::string checkedOutBy;                  // empty: checked in
    int majorVersion = 1;
    int minorVersion = 0;
    std::string lastUnapprovedVersion;         // "(version 1.1)"; empty before the first check-in
    std::string documentState = "checkedout";  // "checkedout", "createdcheckedin", "checkedin", "published"
};

struct ItemData {
    ItemKind kind = ItemKind::Document;
    std::string contentClass;
    bool hidden = false;
    std::string title;
    std::string description;
    sys::DateTime lastModified;
    PropertyMap properties;

    // Containers.
    bool inheritsRoles = true;     // workspaces and the server never inherit
    RoleLists roles;               // the own lists, when not inheriting
    com::Variant documentProfile;
    std::string language = "en";   // the server only

    // Documents.
    std::string contentType;
    com::Variant securityValue;
    com::Variant metadataValue;
    com::Variant firstList;
    com::Variant secondList;
    PublishingState publishing;
};

bool IsContainer(ItemKind kind);
// The content class a new item of that kind gets.
std::string DefaultContentClass(ItemKind kind);

// The metadata file of a container, and the header line of an item file of
// the earlier kind.
inline constexpr std::string_view kContainerFile = ".tvx.folder.json";
inline constexpr std::string_view kItemFileHeader = "TARVEX-ITEM 1\n";

std::string EncodeContainerFile(const ItemData& data);
ItemData DecodeContainerFile(std::string_view text);   // errDamagedItem when unreadable

// A whole item file in memory, and back: its metadata and content (moved out
// of bytes). DamagedItem when the header, metadata, content length or content
// checksum do not fit.
std::string EncodeItemFile(const ItemData& data, std::string_view content);
ItemData DecodeItemFile(std::string& bytes, std::string& content);

// The parts of reading a slotted item file piece by piece: the metadata in
// its head (DamagedItem when no slot is whole), and the check that the file
// is as long as its layout says.
ItemData DecodeItemHead(const ItemFileLayout& layout, std::string_view head);
void RequireWholeItemFile(const ItemFileLayout& layout, std::size_t fileSize);

} // namespace store
