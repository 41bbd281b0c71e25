#include "platform/store/item_metadata.h"

#include "platform/store/binary_codec.h"
#include "platform/store/errors.h"

#include <array>

namespace store {

namespace {

enum Field : std::uint8_t {
    kKind = 1,
    kContentClass,
    kHidden,
    kTitle,
    kDescription,
    kLastModified,
    kProperty,
    kContentType,
    kSecurityValue,
    kMetadataValue,
    kFirstList,
    kSecondList,
    kCheckedOutBy,
    kMajorVersion,
    kMinorVersion,
    kLastUnapprovedVersion,
    kDocumentState,
};

// The kinds by the numbers their files keep, which never change.
constexpr std::array<std::pair<ItemKind, std::uint8_t>, 7> kKindNumbers{{
    {ItemKind::Server, 1},
    {ItemKind::Workspace, 2},
    {ItemKind::Folder, 3},
    {ItemKind::CategoryFolder, 4},
    {ItemKind::Document, 5},
    {ItemKind::PropertyDef, 6},
    {ItemKind::ContentClass, 7},
}};

[[noreturn]] void damaged(std::string_view what)
{
    throw DamagedItem(std::string(what));
}

std::uint8_t kindNumber(ItemKind kind)
{
    for (const auto& [entry, number] : kKindNumbers)
        if (entry == kind) return number;
    return 0;
}

ItemKind kindOfNumber(std::uint8_t number)
{
    for (const auto& [kind, entry] : kKindNumbers)
        if (entry == number) return kind;
    damaged("unknown kind " + std::to_string(number));
}

class MetadataWriter {
public:
    void text(Field field, const std::string& value, const std::string& fallback = {})
    {
        if (value == fallback) return;
        writer_.putByte(field);
        writer_.putText(value);
    }
    void number(Field field, std::int64_t value, std::int64_t fallback)
    {
        if (value == fallback) return;
        writer_.putByte(field);
        writer_.putSigned(value);
    }
    void flag(Field field, bool value)
    {
        if (value) writer_.putByte(field);
    }
    void value(Field field, const com::Variant& value)
    {
        if (value.isEmpty()) return;
        writer_.putByte(field);
        writer_.putVariant(value);
    }
    void property(const std::string& name, const com::Variant& value)
    {
        writer_.putByte(kProperty);
        writer_.putText(name);
        writer_.putVariant(value);
    }
    void kind(ItemKind kind)
    {
        writer_.putByte(kKind);
        writer_.putByte(kindNumber(kind));
    }
    std::string take() { return writer_.take(); }

private:
    ByteWriter writer_;
};

} // namespace

std::string EncodeItemMetadata(const ItemData& data)
{
    const PublishingState defaults;
    MetadataWriter out;
    out.kind(data.kind);
    out.text(kContentClass, data.contentClass, DefaultContentClass(data.kind));
    out.flag(kHidden, data.hidden);
    out.text(kTitle, data.title);
    out.text(kDescription, data.description);
    out.number(kLastModified, data.lastModified.seconds, 0);
    for (const auto& [name, value] : data.properties) out.property(name, value);
    out.text(kContentType, data.contentType);
    out.value(kSecurityValue, data.securityValue);
    out.value(kMetadataValue, data.metadataValue);
    out.value(kFirstList, data.firstList);
    out.value(kSecondList, data.secondList);
    out.text(kCheckedOutBy, data.publishing.checkedOutBy, defaults.checkedOutBy);
    out.number(kMajorVersion, data.publishing.majorVersion, defaults.majorVersion);
    out.number(kMinorVersion, data.publishing.minorVersion, defaults.minorVersion);
    out.text(kLastUnapprovedVersion, data.publishing.lastUnapprovedVersion, defaults.lastUnapprovedVersion);
    out.text(kDocumentState, data.publishing.documentState, defaults.documentState);
    return out.take();
}

ItemData DecodeItemMetadata(std::string_view bytes)
{
    ByteReader in(bytes);
    if (in.atEnd() || in.byte() != kKind) damaged("metadata without a kind");
    ItemData data;
    data.kind = kindOfNumber(in.byte());
    data.contentClass = DefaultContentClass(data.kind);
    while (!in.atEnd()) {
        switch (const std::uint8_t field = in.byte()) {
        case kContentClass: data.contentClass = in.text(); break;
        case kHidden: data.hidden = true; break;
        case kTitle: data.title = in.text(); break;
        case kDescription: data.description = in.text(); break;
        case kLastModified: data.lastModified = sys::DateTime{in.signedNumber()}; break;
        case kProperty: {
            std::string name = in.text();
            data.properties.insert_or_assign(std::move(name), in.variant());
            break;
        }
        case kContentType: data.contentType = in.text(); break;
        case kSecurityValue: data.securityValue = in.variant(); break;
        case kMetadataValue: data.metadataValue = in.variant(); break;
        case kFirstList: data.firstList = in.variant(); break;
        case kSecondList: data.secondList = in.variant(); break;
        case kCheckedOutBy: data.publishing.checkedOutBy = in.text(); break;
        case kMajorVersion: data.publishing.majorVersion = in.int32(); break;
        case kMinorVersion: data.publishing.minorVersion = in.int32(); break;
        case kLastUnapprovedVersion: data.publishing.lastUnapprovedVersion = in.text(); break;
        case kDocumentState: data.publishing.documentState = in.text(); break;
        default: damaged("unknown metadata field " + std::to_string(field));
        }
    }
    return data;
}

} // namespace store
