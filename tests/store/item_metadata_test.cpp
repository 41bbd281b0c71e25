// The binary form of item metadata: every value comes back as it was written,
// and bytes that were not written so are reported damaged, never misread.

#include "platform/store/binary_codec.h"
#include "platform/store/errors.h"
#include "platform/store/item_metadata.h"

#include <gtest/gtest.h>

namespace store {
namespace {

com::HRESULT errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const com::ComError& error) {
        return error.number();
    }
    return com::S_OK;
}

std::string encoded(const com::Variant& value)
{
    ByteWriter writer;
    writer.putVariant(value);
    return writer.take();
}

com::Variant nested(int depth)
{
    com::Variant value("innermost");
    for (int level = 0; level < depth; ++level) value = com::Variant(com::SafeArray{com::VT_VARIANT, 0, {value}});
    return value;
}

TEST(BinaryCodecTest, ValuesComeBackWithTheirTypes)
{
    com::SafeArray mixed{com::VT_VARIANT, -2, {}};
    mixed.elements = {com::Variant(std::int32_t(3)), com::Variant("x"), com::Variant::StringArray({"in", "ner"})};
    const com::Variant values[] = {
        com::Variant(),
        com::Variant::Null(),
        com::Variant(true),
        com::Variant(false),
        com::Variant(std::int16_t(-32768)),
        com::Variant(std::int32_t(2147483647)),
        com::Variant(std::int32_t(-2147483647 - 1)),
        com::Variant(std::uint8_t(255)),
        com::Variant(1.5f),
        com::Variant(-2.25e300),
        com::Variant(sys::MakeDateTime({2026, 12, 7, 22, 44, 30})),
        com::Variant(sys::DateTime{-5000000000}),
        com::Variant(""),
        com::Variant(std::string("Grüße \"quoted\"\n\0nul", 21)),
        com::Variant::StringArray({"a", "", "c"}),
        com::Variant(com::SafeArray{com::VT_I2, 1, {com::Variant(std::int16_t(7)), com::Variant(std::int16_t(-7))}}),
        com::Variant(com::SafeArray{com::VT_NULL, 0, {com::Variant::Null(), com::Variant::Null()}}),
        com::Variant(std::move(mixed)),
        nested(32),
    };
    for (std::size_t index = 0; index < std::size(values); ++index) {
        const std::string bytes = encoded(values[index]);
        ByteReader reader(bytes);
        const com::Variant back = reader.variant();
        EXPECT_EQ(back, values[index]) << "value " << index;
        EXPECT_EQ(back.type(), values[index].type()) << "value " << index;
        EXPECT_TRUE(reader.atEnd()) << "value " << index;
    }
}

TEST(BinaryCodecTest, NumbersOfEveryMagnitudeComeBack)
{
    const std::int64_t numbers[] = {0, 1, -1, 63, -64, 64, 127, 128, 300, -300, 1LL << 40, INT64_MAX, INT64_MIN};
    ByteWriter writer;
    for (const std::int64_t number : numbers) writer.putSigned(number);
    writer.putUnsigned(UINT64_MAX);
    const std::string bytes = writer.take();
    ByteReader reader(bytes);
    for (const std::int64_t number : numbers) EXPECT_EQ(reader.signedNumber(), number);
    EXPECT_EQ(reader.unsignedNumber(), UINT64_MAX);
    EXPECT_TRUE(reader.atEnd());
}

TEST(BinaryCodecTest, ValuesThatCannotBeStoredAreRefused)
{
    const com::Variant refused[] = {
        com::Variant::Error(com::E_FAIL),
        com::Variant(com::SafeArray{com::VT_ERROR, 0, {}}),
        com::Variant(com::SafeArray{com::VT_VARIANT, 0, {com::Variant::Error(com::E_FAIL)}}),
        nested(33),
    };
    for (const com::Variant& value : refused)
        EXPECT_EQ(errorOf([&] { encoded(value); }), com::DISP_E_TYPEMISMATCH);
}

TEST(BinaryCodecTest, CutOrForeignBytesAreDamagedNeverMisread)
{
    const std::string whole = encoded(com::Variant::StringArray({"first", "second"}));
    std::vector<std::string> damaged;
    for (std::size_t size = 0; size < whole.size(); ++size) damaged.push_back(whole.substr(0, size));
    const auto bytes = [](std::initializer_list<int> values) {
        std::string text;
        for (const int value : values) text += char(value);
        return text;
    };
    damaged.push_back(bytes({com::VT_ERROR, 0}));                       // a type that is never stored
    damaged.push_back(bytes({com::VT_BOOL, 2}));                        // neither false nor true
    damaged.push_back(bytes({com::VT_EMPTY, 1}));                       // a placeholder that is not one
    damaged.push_back(bytes({com::VT_I2, 0x80, 0x80, 0x04}));           // beyond a 16-bit integer
    damaged.push_back(bytes({com::VT_UI1, 0x80, 0x04}));                // beyond a byte
    damaged.push_back(bytes({com::VT_BSTR, 0xFF, 0xFF, 0xFF, 0x0F}));   // a text longer than the bytes
    damaged.push_back(bytes({0x20, com::VT_I4, 0, 0xFF, 0xFF, 0x03}));  // more elements than bytes
    damaged.push_back(bytes({com::VT_I4, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x02})); // past 64 bits
    damaged.push_back(encoded(nested(32)).insert(0, bytes({0x20, com::VT_VARIANT, 0, 1}))); // nested too deep
    for (const std::string& bytes : damaged)
        EXPECT_EQ(errorOf([&] { ByteReader(bytes).variant(); }), errDamagedItem) << bytes.size() << " bytes";
}

ItemData everyField()
{
    ItemData data;
    data.kind = ItemKind::PropertyDef;
    data.contentClass = "urn:content-classes:Special";
    data.hidden = true;
    data.title = "Title";
    data.description = "Ä description";
    data.lastModified = sys::MakeDateTime({2026, 1, 2, 3, 4, 5});
    data.properties["urn:x#Budget"] = std::int32_t(12);
    data.properties["urn:x#Names"] = com::Variant::StringArray({"x", "y"});
    data.contentType = "image/png";
    data.securityValue = com::Variant("opaque");
    data.metadataValue = com::Variant(2.5);
    data.firstList = com::Variant::StringArray({"one"});
    data.secondList = com::Variant::Null();
    data.publishing = PublishingState{"D\\u", 3, 4, "(version 3.4)", "checkedin"};
    return data;
}

TEST(ItemMetadataTest, EveryFieldComesBackAndDefaultsTakeNoRoom)
{
    const ItemData data = everyField();
    const ItemData back = DecodeItemMetadata(EncodeItemMetadata(data));
    EXPECT_EQ(back.kind, data.kind);
    EXPECT_EQ(back.contentClass, data.contentClass);
    EXPECT_EQ(back.hidden, data.hidden);
    EXPECT_EQ(back.title, data.title);
    EXPECT_EQ(back.description, data.description);
    EXPECT_EQ(back.lastModified, data.lastModified);
    EXPECT_EQ(back.properties, data.properties);
    EXPECT_EQ(back.contentType, data.contentType);
    EXPECT_EQ(back.securityValue, data.securityValue);
    EXPECT_EQ(back.metadataValue, data.metadataValue);
    EXPECT_EQ(back.firstList, data.firstList);
    EXPECT_EQ(back.secondList, data.secondList);
    EXPECT_EQ(back.publishing.checkedOutBy, "D\\u");
    EXPECT_EQ(back.publishing.majorVersion, 3);
    EXPECT_EQ(back.publishing.minorVersion, 4);
    EXPECT_EQ(back.publishing.lastUnapprovedVersion, "(version 3.4)");
    EXPECT_EQ(back.publishing.documentState, "checkedin");

    ItemData fresh;
    fresh.kind = ItemKind::Document;
    fresh.contentClass = DefaultContentClass(ItemKind::Document);
    EXPECT_EQ(EncodeItemMetadata(fresh).size(), 2u) << "only the kind";
    const ItemData freshBack = DecodeItemMetadata(EncodeItemMetadata(fresh));
    EXPECT_EQ(freshBack.contentClass, "urn:content-classes:document");
    EXPECT_EQ(freshBack.publishing.documentState, "checkedout");
}

TEST(ItemMetadataTest, CutOrForeignMetadataIsDamaged)
{
    const std::string whole = EncodeItemMetadata(everyField());
    std::vector<std::string> damaged{"", std::string("\x02\x05", 2), std::string("\x01\x09", 2), whole + '\x7F'};
    for (std::size_t size = 1; size < whole.size(); ++size) {
        // A cut that ends between two fields leaves whole metadata behind.
        try {
            DecodeItemMetadata(whole.substr(0, size));
        } catch (const com::ComError& error) {
            EXPECT_EQ(error.number(), errDamagedItem);
        }
    }
    for (const std::string& bytes : damaged)
        EXPECT_EQ(errorOf([&] { DecodeItemMetadata(bytes); }), errDamagedItem) << bytes.size() << " bytes";
    EXPECT_EQ(errorOf([&] {
                  ItemData data;
                  data.securityValue = com::Variant::Error(com::E_FAIL);
                  EncodeItemMetadata(data);
              }),
              com::DISP_E_TYPEMISMATCH);
}

} // namespace
} // namespace store
