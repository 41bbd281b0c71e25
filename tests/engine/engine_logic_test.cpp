// The engine's pure rules: size texts, URL levels and parts, role mapping
// entries, the type table, progress arithmetic, list entries, the filter rows.

#include "app/core/runtime_errors.h"
#include "app/engine/cart_entries.h"
#include "app/engine/folder_creation.h"
#include "app/engine/import_progress.h"
#include "app/engine/preimport_filter.h"
#include "app/engine/profiles.h"
#include "app/engine/replication_drivers.h"
#include "app/engine/runtime_values.h"
#include "app/engine/size_text.h"
#include "app/engine/url_levels.h"
#include "app/engine/workspace_creation.h"
#include "platform/store/errors.h"

#include <gtest/gtest.h>

#include <map>

namespace {

com::HRESULT ErrorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const com::ComError& error) {
        return error.number();
    }
    return com::S_OK;
}

TEST(SizeTextTest, BytesUpTo1024ThenKilobytesToOneDecimalHalvesToEven)
{
    const std::vector<std::pair<std::int64_t, std::string>> cases = {
        {0, "0 Bytes"},         {1023, "1023 Bytes"},  {1024, "1024 Bytes"}, {1025, "1 KB"},
        {1280, "1.2 KB"},       {1536, "1.5 KB"},      {2048, "2 KB"},       {1331, "1.3 KB"},
        {3328, "3.2 KB"},       {3430, "3.3 KB"},      {10188, "9.9 KB"},    {10189, "10 KB"},
        {262144, "256 KB"},     {1048576, "1024 KB"},
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(SizeText(bytes), text) << bytes;
}

TEST(UrlLevelTest, CopyMeetsItsSourceByWholeNamesIgnoringCase)
{
    struct Case {
        const char* source;
        const char* destinationFolder;
        bool meets;
    };
    const Case cases[] = {
        {"http://SRC/Team/Documents/a.txt", "http://src/team/documents", true},   // onto itself
        {"http://SRC/Team/Documents/A", "http://SRC/Team/Documents/A", true},     // into itself
        {"http://SRC/Team/Documents/A", "http://SRC/Team/Documents/a/Sub", true}, // below itself
        {"http://SRC/Team", "http://SRC", true},                                  // workspace onto its server
        {"http://SRC/Team", "http://src/sharepoint portal server/workspaces", true},
        {"http://SRC", "http://SRC", true},                                       // server onto itself
        {"http://SRC/Team/Documents/A", "http://SRC/Team/Documents/AB", false},   // a sibling, not inside
        {"http://SRC/Team/Documents/A", "http://SRC/Team/Documents/B", false},
        {"http://SRC/Team/Documents/A", "http://SRC/Team", false},                // a copy one level up
        {"http://SRC/Team/Documents/a.txt", "http://DST/Team/Documents", false},
        {"http://SRC/Team", "http://DST", false},
        {"", "http://SRC", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CopyMeetsItsSource(c.source, c.destinationFolder), c.meets) << c.source << " into " << c.destinationFolder;

    EXPECT_TRUE(IsSameOrWithin("http://src/team/Documents/A/x", "http://SRC/Team/Documents/A"));
    EXPECT_FALSE(IsSameOrWithin("http://SRC/Team/Documents/AB", "http://SRC/Team/Documents/A"));
}

TEST(UrlLevelTest, SlashesWorkspacePartsAndDocumentParts)
{
    EXPECT_EQ(Count_SlashPresent(""), 0);
    EXPECT_EQ(Count_SlashPresent("SRV"), 0);
    EXPECT_EQ(Count_SlashPresent("http://SRV"), 2);
    EXPECT_EQ(Count_SlashPresent("http://SRV/Team"), 3);
    EXPECT_EQ(Count_SlashPresent("http://SRV/Team/Documents/a.txt"), 5);

    EXPECT_EQ(ExtractWorkspaceName("http://SRV/Team/Documents/Sub/a.txt"), "http://SRV/Team");
    EXPECT_EQ(ExtractWorkspaceName("http://SRV/Team"), "http://SRV/Team");
    EXPECT_EQ(ExtractWorkspaceName("http://SRV"), "");
    EXPECT_EQ(ExtractWorkspaceName(""), "");

    EXPECT_EQ(GetDir("http://SRV/Team/Documents/a.txt"), "http://SRV/Team/Documents");
    EXPECT_EQ(GetDoc("http://SRV/Team/Documents/a.txt"), "a.txt");
    EXPECT_EQ(GetDir("http://SRV"), "http:/");
    EXPECT_EQ(GetDoc("http://SRV"), "SRV");
    EXPECT_EQ(GetDoc("http://SRV/Team/"), "");

    EXPECT_EQ(WorkspaceContainerUrl("SRV"), "http://SRV/sharepoint portal server/workspaces");
}

TEST(UrlLevelTest, CategoryRootsAreRecognisedByTheirOwnRules)
{
    // The driver's test: "Categories" exactly.
    EXPECT_TRUE(IsFolderCatFolder("http://SRV/Team/Categories/Sales"));
    EXPECT_FALSE(IsFolderCatFolder("http://SRV/Team/categories/Sales"));
    EXPECT_FALSE(IsFolderCatFolder("http://SRV/Team/Kategorien/Sales"));
    // The tree walk's test: either language, any case, any part.
    EXPECT_TRUE(IsCategoryTree("http://SRV/Team/categories/Sales"));
    EXPECT_TRUE(IsCategoryTree("http://SRV/Team/KATEGORIEN"));
    EXPECT_TRUE(IsCategoryTree("http://categories/Team/Documents"));
    EXPECT_FALSE(IsCategoryTree("http://SRV/Team/Documents/CategoriesList"));
}

TEST(CoordinatorTest, OwnAccountOrEveryoneInAnyCase)
{
    EXPECT_TRUE(CoordinatorsInclude({"TARVEXNET\\Tester"}, "tarvexnet\\tester"));
    EXPECT_TRUE(CoordinatorsInclude({"OTHER\\boss", "\\EVERYONE"}, "TARVEXNET\\tester"));
    EXPECT_FALSE(CoordinatorsInclude({"OTHER\\boss", "Everyone"}, "TARVEXNET\\tester"));
    EXPECT_FALSE(CoordinatorsInclude({}, "TARVEXNET\\tester"));
}

TEST(RoleMappingTest, EntriesNameDestinationRolesByNumber)
{
    EXPECT_EQ(DestinationRoleIndex("0"), 0);
    EXPECT_EQ(DestinationRoleIndex("2"), 2);
    EXPECT_EQ(DestinationRoleIndex(" 1 "), 1);
    EXPECT_EQ(DestinationRoleIndex("-1"), std::nullopt);
    EXPECT_EQ(DestinationRoleIndex("3"), std::nullopt);
    EXPECT_EQ(ErrorOf([] { DestinationRoleIndex(""); }), kTypeMismatch);
    EXPECT_EQ(ErrorOf([] { DestinationRoleIndex("Authors"); }), kTypeMismatch);
}

TEST(ProfileTypeTest, TypeNamesMatchInAnyCaseAndOnlyListCarriesValues)
{
    const std::map<std::string, std::pair<std::string, std::string>> expected = {
        {"Number", {"Number", "i4"}},   {"list", {"List", "string"}},        {"DATE", {"Date", "dateTime"}},
        {"text", {"Text", "string"}},   {"comment box", {"Comment Box", "string"}},
    };
    for (const auto& [extendedType, result] : expected) {
        const auto type = MatchProfileType(extendedType);
        ASSERT_TRUE(type) << extendedType;
        EXPECT_EQ(type->name, result.first);
        EXPECT_EQ(type->dataType, result.second);
        EXPECT_EQ(type->copiesListValues, result.first == "List");
    }
    EXPECT_FALSE(MatchProfileType("Multivalue List"));
    EXPECT_FALSE(MatchProfileType("NULL"));
    EXPECT_FALSE(MatchProfileType(""));

    EXPECT_EQ(ExtractName("urn:content-classes:Memo"), "Memo");
    EXPECT_EQ(ExtractName("Memo"), "Memo");
}

TEST(ProgressTest, StepsRoundToSinglePrecisionAndStopAtTheMaximum)
{
    float value = 0;
    const double third = 100.0 / 3;
    value = AdvancedProgressValue(value, third, 100);
    EXPECT_EQ(value, 33.333332f);
    value = AdvancedProgressValue(value, third, 100);
    EXPECT_EQ(value, 66.666664f);
    value = AdvancedProgressValue(value, third, 100);
    EXPECT_EQ(value, 100.0f);
    EXPECT_EQ(AdvancedProgressValue(90, 20, 100), 100.0f);
    EXPECT_EQ(AdvancedProgressValue(100, 5, 100), 100.0f);

    EXPECT_EQ(PercentageText(33.333332f, kCompletedSuffix), "33 % Completed...");
    EXPECT_EQ(PercentageText(66.666664f, kProfileCompletedSuffix), "67 % Completed..");
    EXPECT_EQ(PercentageText(12.5f, kCompletedSuffix), "12 % Completed...");
    EXPECT_EQ(PercentageText(13.5f, kCompletedSuffix), "14 % Completed...");
}

TEST(RuntimeValuesTest, DivisionByZeroAndNonNumbersRaiseTheRuntimeErrors)
{
    EXPECT_EQ(Divide(80, 4), 20);
    EXPECT_EQ(ErrorOf([] { Divide(80, 0); }), kDivisionByZero);
    EXPECT_EQ(IntegerFromText("3"), 3);
    EXPECT_EQ(IntegerFromText("2.5"), 2);
    EXPECT_EQ(ErrorOf([] { IntegerFromText("three"); }), kTypeMismatch);
}

TEST(CartEntriesTest, EveryEntryIsFollowedByItsSeparator)
{
    EXPECT_EQ(SplitEntries("a|b|", "|"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitEntries("a|b", "|"), (std::vector<std::string>{"a"}));
    EXPECT_TRUE(SplitEntries("", "|").empty());
    EXPECT_EQ(ErrorOf([] { EntryAt({"a"}, 1); }), kSubscriptOutOfRange);

    EXPECT_TRUE(IsReplicationType("3", 3));
    EXPECT_TRUE(IsReplicationType(" 1", 1));
    EXPECT_FALSE(IsReplicationType("4", 3));
    EXPECT_FALSE(IsReplicationType("x", 3));
    EXPECT_FALSE(IsReplicationType("", 3));
}

TEST(TemplateFolderTest, TheDriveBecomesItsAdministrativeShare)
{
    EXPECT_EQ(TemplateFolderPath("SRV", "C:\\Program Files\\SharePoint Portal Server"),
              "\\\\SRV\\C$\\Program Files\\SharePoint Portal Server\\bin\\");
    EXPECT_EQ(TemplateFolderPath("SRV", "D:\\SPS\\"), "\\\\SRV\\D$\\SPS\\\\bin\\");
    EXPECT_EQ(TemplateFolderPath("SRV", ""), "\\\\SRV\\\\bin\\");
}

// A document for the filter: properties by name, and the two list properties.
class FilterSubject : public FilterDocument {
public:
    std::map<std::string, com::Variant> properties;
    std::vector<std::string> first;
    std::vector<std::string> second;
    mutable int secondListReads = 0;

    com::Variant property(const std::string& name) const override
    {
        const auto found = properties.find(name);
        if (found == properties.end()) throw com::ComError(store::errPropertyNotFound, "missing " + name);
        return found->second;
    }
    com::Variant firstListProperty() const override { return com::Variant::StringArray(first); }
    com::Variant secondListProperty() const override
    {
        ++secondListReads;
        return com::Variant::StringArray(second);
    }
};

TEST(PreimportFilterRowTest, EachDataTypeHasItsOwnTest)
{
    FilterSubject document;
    document.properties[FilterPropertyName("Status")] = "Approved";
    document.properties[FilterPropertyName("Due")] = sys::MakeDateTime({2026, 12, 7, 12, 0, 0});
    document.properties[FilterPropertyName("Late")] = sys::MakeDateTime({2026, 12, 7, 15, 0, 0});
    document.first = {"North", "South"};
    document.second = {"Red"};

    struct Case {
        PreimportFilterRow row;
        bool matches;
    };
    const std::vector<Case> cases = {
        {{"Status", "approved", "True", "Comment box"}, true},
        {{"Status", "Draft", "True", "COMMENT BOX"}, false},
        {{"Due", "12/7/2026", "True", "Date"}, true},
        {{"Late", "12/7/2026", "True", "Date"}, false},
        {{"Any", "north;south", "True", "List"}, true},
        {{"Any", "red", "True", "Multivalue List"}, true},
        {{"Any", "North", "True", "List"}, false},
        {{"Status", "whatever", "True", "Text"}, true},
        {{"Status", "42", "True", "Number"}, true},
        {{"Status", "x", "True", "Colour"}, true},
    };
    for (const Case& test : cases)
        EXPECT_EQ(FilterRowMatches(test.row, document), test.matches) << test.row.metaData << " " << test.row.dataType;

    document.secondListReads = 0;
    EXPECT_TRUE(FilterRowMatches({"Any", "North;South", "True", "List"}, document));
    EXPECT_EQ(document.secondListReads, 0) << "the first list decided";

    EXPECT_EQ(ErrorOf([&] { FilterRowMatches({"Missing", "x", "True", "Comment box"}, document); }),
              store::errPropertyNotFound);
    EXPECT_TRUE(IsCheckedFilterRow({"", "", "true", ""}));
    EXPECT_FALSE(IsCheckedFilterRow({"", "", "False", ""}));
    EXPECT_FALSE(IsCheckedFilterRow({"", "", "", ""}));
}

} // namespace
