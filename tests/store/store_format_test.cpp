// The pure parts of the store: URLs, stored values, item files, role checks.

#include "platform/store/errors.h"
#include "platform/store/item_data.h"
#include "platform/store/item_url.h"
#include "platform/store/roles.h"
#include "platform/store/variant_json.h"

#include <gtest/gtest.h>

namespace store {
namespace {

TEST(ItemUrlTest, SplitsHostAndPathAndTreatsTheContainerAsTheServer)
{
    struct Case {
        const char* url;
        const char* host;
        std::vector<std::string> path;
    };
    const Case cases[] = {
        {"http://SRV", "SRV", {}},
        {"HTTP://srv/", "srv", {}},
        {"http://SRV/Team/Documents/a b.txt", "SRV", {"Team", "Documents", "a b.txt"}},
        {"http://SRV/sharepoint portal server/workspaces", "SRV", {}},
        {"http://SRV/SharePoint Portal Server/Workspaces/Team/x", "SRV", {"Team", "x"}},
        {"http://SRV/Team/", "SRV", {"Team"}},
    };
    for (const Case& c : cases) {
        const std::optional<ItemUrl> parsed = ParseItemUrl(c.url);
        ASSERT_TRUE(parsed) << c.url;
        EXPECT_EQ(parsed->host, c.host) << c.url;
        EXPECT_EQ(parsed->path, c.path) << c.url;
    }
    for (const char* bad : {"", "Null String", "http://", "ftp://SRV/x", "http://SRV//x", "http:///x"})
        EXPECT_FALSE(ParseItemUrl(bad)) << bad;
}

TEST(ItemUrlTest, BuildsUrlsFromStoredNames)
{
    EXPECT_EQ(ItemUrlText("SRV", {"Team", "Übersicht.txt"}), "http://SRV/Team/Übersicht.txt");
    EXPECT_EQ(ChildUrl("http://SRV/Team", "Documents"), "http://SRV/Team/Documents");
    EXPECT_EQ(ChildUrl("http://SRV/", "Team"), "http://SRV/Team");
}

TEST(VariantJsonTest, ValuesComeBackWithTheirTypes)
{
    com::SafeArray mixed{com::VT_VARIANT, 1, {}};
    mixed.elements = {com::Variant(std::int32_t(3)), com::Variant("x")};
    const com::Variant values[] = {
        com::Variant(),
        com::Variant::Null(),
        com::Variant(true),
        com::Variant(std::int16_t(-7)),
        com::Variant(std::int32_t(2147483647)),
        com::Variant(std::uint8_t(255)),
        com::Variant(1.5f),
        com::Variant(-2.25),
        com::Variant(sys::MakeDateTime({2026, 12, 7, 22, 44, 30})),
        com::Variant("Grüße \"quoted\"\n"),
        com::Variant::StringArray({"a", "", "c"}),
        com::Variant(std::move(mixed)),
    };
    for (const com::Variant& value : values) {
        const com::Variant back = VariantFromJson(VariantToJson(value));
        EXPECT_EQ(back, value) << VariantToJson(value).dump();
        EXPECT_EQ(back.type(), value.type());
    }
}

TEST(VariantJsonTest, RefusesWhatCannotBeStoredAndDamagedJson)
{
    EXPECT_THROW(VariantToJson(com::Variant::Error(com::E_FAIL)), com::ComError);
    for (const char* text : {R"({"type":"i4","value":"x"})", R"({"type":"nonsense"})", R"([1])",
                             R"({"type":"array","elementType":"string","value":[]})"}) {
        try {
            VariantFromJson(nlohmann::json::parse(text));
            ADD_FAILURE() << text;
        } catch (const com::ComError& error) {
            EXPECT_EQ(error.number(), errDamagedItem) << text;
        }
    }
}

ItemData sampleDocument()
{
    ItemData data;
    data.kind = ItemKind::Document;
    data.contentClass = "urn:content-classes:Memo";
    data.title = "Title";
    data.lastModified = sys::MakeDateTime({2026, 1, 2, 3, 4, 5});
    data.properties["urn:schemas-microsoft-com:office:office#Budget"] = std::int32_t(12);
    data.contentType = "image/png";
    data.securityValue = com::Variant("opaque");
    data.firstList = com::Variant::StringArray({"x", "y"});
    data.publishing = PublishingState{"D\\u", 2, 1, "(version 2.1)", "checkedin"};
    return data;
}

TEST(ItemFileTest, KeepsMetadataAndEveryContentByte)
{
    std::string content;
    for (int i = 0; i < 256; ++i) content += char(i);
    content += "\nTARVEX-ITEM 1\n{";
    std::string bytes = EncodeItemFile(sampleDocument(), content);

    std::string readContent;
    const ItemData back = DecodeItemFile(bytes, readContent);
    EXPECT_EQ(readContent, content);
    EXPECT_EQ(back.contentClass, "urn:content-classes:Memo");
    EXPECT_EQ(back.title, "Title");
    EXPECT_EQ(back.lastModified, sampleDocument().lastModified);
    EXPECT_EQ(back.properties.at("URN:SCHEMAS-MICROSOFT-COM:OFFICE:OFFICE#BUDGET"), com::Variant(std::int32_t(12)))
        << "property names match without regard to case";
    EXPECT_EQ(back.firstList, com::Variant::StringArray({"x", "y"}));
    EXPECT_EQ(back.publishing.lastUnapprovedVersion, "(version 2.1)");
    EXPECT_EQ(back.publishing.checkedOutBy, "D\\u");
}

TEST(ItemFileTest, ACutOrForeignFileIsReportedDamaged)
{
    const std::string whole = EncodeItemFile(sampleDocument(), "0123456789");
    const std::string damaged[] = {
        whole.substr(0, whole.size() - 1),        // content cut short
        whole + "x",                               // content longer than recorded
        whole.substr(0, whole.find('\n', 15)),    // metadata without its line end
        "plain text, not an item",
        "TARVEX-ITEM 1\n{not json}\n",
    };
    for (std::string bytes : damaged) {
        std::string content;
        try {
            DecodeItemFile(bytes, content);
            ADD_FAILURE() << bytes.substr(0, 40);
        } catch (const com::ComError& error) {
            EXPECT_EQ(error.number(), errDamagedItem);
        }
    }
}

TEST(ItemFileTest, ContainersKeepRolesAndInheritance)
{
    ItemData folder;
    folder.kind = ItemKind::CategoryFolder;
    folder.inheritsRoles = false;
    folder.roles = {{"\\Everyone"}, {"D\\a"}, {"D\\c"}};
    folder.documentProfile = com::Variant("profile");
    const ItemData back = DecodeContainerFile(EncodeContainerFile(folder));
    EXPECT_EQ(back.kind, ItemKind::CategoryFolder);
    EXPECT_FALSE(back.inheritsRoles);
    EXPECT_EQ(back.roles, folder.roles);
    EXPECT_EQ(back.documentProfile, com::Variant("profile"));
}

TEST(RolesTest, HigherRolesIncludeLowerOnesAndEveryoneCountsForAll)
{
    const RoleLists lists{{"D\\reader"}, {"d\\AUTHOR"}, {"D\\coordinator"}};
    struct Case {
        const char* user;
        bool reader, author, coordinator;
    };
    const Case cases[] = {
        {"D\\reader", true, false, false},
        {"D\\Author", true, true, false},
        {"d\\coordinator", true, true, true},
        {"D\\stranger", false, false, false},
        {"reader", false, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HasRole(lists, Role::Reader, c.user), c.reader) << c.user;
        EXPECT_EQ(HasRole(lists, Role::Author, c.user), c.author) << c.user;
        EXPECT_EQ(HasRole(lists, Role::Coordinator, c.user), c.coordinator) << c.user;
    }
    EXPECT_TRUE(HasRole({{}, {}, {"\\EVERYONE"}}, Role::Coordinator, "X\\anybody"));
    EXPECT_TRUE(HasRole({{"\\everyone"}, {}, {}}, Role::Reader, "anybody"));
    EXPECT_FALSE(HasRole({{"\\everyone"}, {}, {}}, Role::Author, "anybody"));
}

TEST(RolesTest, KnownAccountsBelongToTheHostOrANetworkDomain)
{
    const std::vector<std::string> domains{"TARVEXNET", "BERLIN"};
    for (const char* known : {"\\Everyone", "\\EVERYONE", "tarvexnet\\anna", "Berlin\\x", "SRV\\local", "OFFICE\\y", "plain"})
        EXPECT_TRUE(IsKnownAccount(known, "SRV", "OFFICE", domains)) << known;
    for (const char* unknown : {"ACME\\anna", "\\nobody", "TARVEXNET\\", "", "\\"})
        EXPECT_FALSE(IsKnownAccount(unknown, "SRV", "OFFICE", domains)) << unknown;
}

TEST(RolesTest, RoleListsCrossAsStringArrays)
{
    EXPECT_EQ(AccountsFromVariant(AccountsToVariant({"a", "b"})), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(AccountsFromVariant(com::Variant()).empty());
    EXPECT_TRUE(AccountsFromVariant(com::Variant::Null()).empty());
    EXPECT_EQ(AccountsFromVariant(com::Variant("D\\one")), (std::vector<std::string>{"D\\one"}));
}

} // namespace
} // namespace store
