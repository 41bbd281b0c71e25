#include "platform/store/item_data.h"

#include "platform/store/errors.h"
#include "platform/store/item_file_layout.h"
#include "platform/store/item_metadata.h"
#include "platform/store/variant_json.h"

#include <nlohmann/json.hpp>

#include <array>
#include <charconv>
#include <strings.h>

namespace store {

namespace {

using nlohmann::json;

constexpr std::array<std::pair<ItemKind, std::string_view>, 7> kKindNames{{
    {ItemKind::Server, "server"},
    {ItemKind::Workspace, "workspace"},
    {ItemKind::Folder, "folder"},
    {ItemKind::CategoryFolder, "categoryfolder"},
    {ItemKind::Document, "document"},
    {ItemKind::PropertyDef, "propertydef"},
    {ItemKind::ContentClass, "contentclass"},
}};

[[noreturn]] void damaged(std::string_view what)
{
    throw DamagedItem(std::string(what));
}

ItemKind kindFromName(std::string_view name)
{
    for (const auto& [kind, text] : kKindNames)
        if (text == name) return kind;
    damaged("unknown kind \"" + std::string(name) + "\"");
}

json propertiesToJson(const PropertyMap& properties)
{
    json object = json::object();
    for (const auto& [name, value] : properties) object[name] = VariantToJson(value);
    return object;
}

PropertyMap propertiesFromJson(const json& object)
{
    PropertyMap properties;
    for (const auto& [name, value] : object.items()) properties.emplace(name, VariantFromJson(value));
    return properties;
}

json rolesToJson(const RoleLists& roles)
{
    return {{"readers", roles.readers}, {"authors", roles.authors}, {"coordinators", roles.coordinators}};
}

RoleLists rolesFromJson(const json& object)
{
    return RoleLists{object.at("readers").get<std::vector<std::string>>(),
                     object.at("authors").get<std::vector<std::string>>(),
                     object.at("coordinators").get<std::vector<std::string>>()};
}

PublishingState publishingFromJson(const json& object)
{
    const PublishingState defaults;
    return PublishingState{object.value("checkedOutBy", defaults.checkedOutBy),
                           object.value("majorVersion", defaults.majorVersion),
                           object.value("minorVersion", defaults.minorVersion),
                           object.value("lastUnapprovedVersion", defaults.lastUnapprovedVersion),
                           object.value("documentState", defaults.documentState)};
}

void putText(json& object, const char* name, const std::string& text)
{
    if (!text.empty()) object[name] = text;
}

void putValue(json& object, const char* name, const com::Variant& value)
{
    if (!value.isEmpty()) object[name] = VariantToJson(value);
}

com::Variant valueOf(const json& object, const char* name)
{
    const auto found = object.find(name);
    return found == object.end() ? com::Variant() : VariantFromJson(*found);
}

json containerToJson(const ItemData& data)
{
    json object = {{"kind", ItemKindName(data.kind)}, {"lastModified", data.lastModified.seconds}};
    if (data.contentClass != DefaultContentClass(data.kind)) object["contentClass"] = data.contentClass;
    if (data.hidden) object["hidden"] = true;
    putText(object, "title", data.title);
    putText(object, "description", data.description);
    if (!data.properties.empty()) object["properties"] = propertiesToJson(data.properties);
    object["inheritsRoles"] = data.inheritsRoles;
    if (!data.inheritsRoles) object["roles"] = rolesToJson(data.roles);
    putValue(object, "documentProfile", data.documentProfile);
    if (data.kind == ItemKind::Server) object["language"] = data.language;
    return object;
}

// A container's metadata, or a document's or schema item's in a file of the
// earlier kind.
ItemData fromJson(const json& object)
{
    try {
        ItemData data;
        data.kind = kindFromName(object.at("kind").get<std::string>());
        data.contentClass = object.value("contentClass", DefaultContentClass(data.kind));
        data.lastModified = sys::DateTime{object.at("lastModified").get<std::int64_t>()};
        data.hidden = object.value("hidden", false);
        data.title = object.value("title", std::string());
        data.description = object.value("description", std::string());
        if (const auto properties = object.find("properties"); properties != object.end())
            data.properties = propertiesFromJson(*properties);
        if (IsContainer(data.kind)) {
            data.inheritsRoles = object.at("inheritsRoles").get<bool>();
            if (const auto roles = object.find("roles"); roles != object.end()) data.roles = rolesFromJson(*roles);
            data.documentProfile = valueOf(object, "documentProfile");
            if (data.kind == ItemKind::Server) data.language = object.at("language").get<std::string>();
        } else {
            data.contentType = object.value("contentType", std::string());
            data.securityValue = valueOf(object, "securityValue");
            data.metadataValue = valueOf(object, "metadataValue");
            data.firstList = valueOf(object, "firstList");
            data.secondList = valueOf(object, "secondList");
            data.publishing = publishingFromJson(object.at("publishing"));
        }
        return data;
    } catch (const json::exception& error) {
        damaged(error.what());
    }
}

json parseJson(std::string_view text)
{
    json object = json::parse(text.begin(), text.end(), nullptr, false);
    if (object.is_discarded() || !object.is_object()) damaged("unreadable metadata");
    return object;
}

// A file of the earlier kind: the header line, the metadata with the content's
// length as one line, a line break, the content.
ItemData decodeLineItemFile(std::string& bytes, std::string& content)
{
    if (!std::string_view(bytes).starts_with(kItemFileHeader)) damaged("not an item file");
    const std::size_t metadataEnd = bytes.find('\n', kItemFileHeader.size());
    if (metadataEnd == std::string::npos) damaged("metadata cut short");
    const json object = parseJson(std::string_view(bytes).substr(kItemFileHeader.size(), metadataEnd - kItemFileHeader.size()));
    const auto length = object.find("contentLength");
    if (length == object.end() || !length->is_number_unsigned()
        || length->get<std::size_t>() != bytes.size() - metadataEnd - 1)
        damaged("content cut short");
    ItemData data = fromJson(object);
    bytes.erase(0, metadataEnd + 1);
    content = std::move(bytes);
    return data;
}

} // namespace

bool PropertyNameLess::operator()(std::string_view a, std::string_view b) const
{
    const int order = strncasecmp(a.data(), b.data(), std::min(a.size(), b.size()));
    return order != 0 ? order < 0 : a.size() < b.size();
}

std::string ItemKindName(ItemKind kind)
{
    for (const auto& [entry, text] : kKindNames)
        if (entry == kind) return std::string(text);
    return {};
}

bool IsContainer(ItemKind kind)
{
    return kind == ItemKind::Server || kind == ItemKind::Workspace || kind == ItemKind::Folder
        || kind == ItemKind::CategoryFolder;
}

std::string DefaultContentClass(ItemKind kind)
{
    switch (kind) {
    case ItemKind::Server: return "urn:content-classes:server";
    case ItemKind::Workspace: return "urn:content-classes:workspace";
    case ItemKind::Folder: return "urn:content-classes:folder";
    case ItemKind::CategoryFolder: return "urn:content-classes:categoryfolder";
    case ItemKind::Document: return "urn:content-classes:document";
    case ItemKind::PropertyDef: return "urn:content-classes:propertydef";
    case ItemKind::ContentClass: return "urn:content-classes:contentclassdef";
    }
    return {};
}

std::string EncodeContainerFile(const ItemData& data)
{
    return containerToJson(data).dump(1) + "\n";
}

ItemData DecodeContainerFile(std::string_view text)
{
    return fromJson(parseJson(text));
}

std::string EncodeItemFile(const ItemData& data, std::string_view content)
{
    ItemFileHead head = EncodeItemFileHead(EncodeItemMetadata(data));
    ContentChecksum checksum;
    checksum.add(content);
    head.bytes.replace(0, kItemHeaderSize, EncodeItemHeader(Finished(head.layout, checksum)));
    head.bytes += content;
    return std::move(head.bytes);
}

ItemData DecodeItemHead(const ItemFileLayout& layout, std::string_view head)
{
    const std::optional<MetadataSlot> slot = CurrentMetadataSlot(layout, head);
    if (!slot) damaged("no whole metadata");
    return DecodeItemMetadata(slot->metadata);
}

void RequireWholeItemFile(const ItemFileLayout& layout, std::size_t fileSize)
{
    if (fileSize < layout.fileSize()) damaged("content cut short");
    if (fileSize > layout.fileSize()) damaged("more bytes than its content");
}

ItemData DecodeItemFile(std::string& bytes, std::string& content)
{
    if (!IsSlottedItemFile(bytes)) return decodeLineItemFile(bytes, content);
    const std::optional<ItemFileLayout> layout = DecodeItemHeader(bytes);
    if (!layout) damaged("unreadable header");
    RequireWholeItemFile(*layout, bytes.size());
    ItemData data = DecodeItemHead(*layout, bytes);
    ContentChecksum checksum;
    checksum.add(std::string_view(bytes).substr(layout->contentOffset()));
    if (layout->contentChecksum && checksum.value() != *layout->contentChecksum)
        damaged("its content does not match its checksum");
    bytes.erase(0, layout->contentOffset());
    content = std::move(bytes);
    return data;
}

} // namespace store
