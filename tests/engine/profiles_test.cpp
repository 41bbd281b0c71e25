// Copying document profiles: property definitions by the type table, existing
// definitions updated, content classes, progress, the coordinator guard and
// Cancel.

#include "engine_fixture.h"

#include "app/core/shared_state.h"
#include "app/engine/profiles.h"
#include "app/engine/url_levels.h"
#include "platform/store/roles.h"
#include "platform/store/sps.h"
#include "platform/ui/do_events.h"
#include "platform/ui/mouse_pointer.h"

using namespace engine_testing;

namespace {

const std::string kSource = "http://SRC/Team";
const std::string kDestination = "http://DST/Team";
const std::string kOffice = "urn:schemas-microsoft-com:office:office#";

store::PropertyDefinitionSpec DefinitionSpec(const std::string& name, const std::string& extendedType,
                                         std::vector<std::string> listValues = {})
{
    return {name + ".xml", kOffice + name, name + " title", name + " text", extendedType, "string", true, false,
            std::move(listValues)};
}

class ProfilesTest : public EngineTest {
protected:
    ProfilesTest()
    {
        AddTeamWorkspaces();
        store::AddPropertyDefinition(kSource, DefinitionSpec("Colour", "List", {"Red", "Green"}));
        store::AddPropertyDefinition(kSource, DefinitionSpec("Region", "list", {"North", "South"}));
        store::AddPropertyDefinition(kSource, DefinitionSpec("Due", "date"));
        store::AddPropertyDefinition(kSource, DefinitionSpec("Priority", "NUMBER"));
        store::AddPropertyDefinition(kSource, DefinitionSpec("Shape", "Multivalue List"));
        store::AddContentClass(kSource, {"Memo", "Memo", "A short note", {"urn:content-classes:document"},
                                         {kOffice + "Title", kOffice + "Priority"}});
        auto existing = DefinitionSpec("Priority", "Text");
        existing.title = "Old priority";
        store::AddPropertyDefinition(kDestination, existing);
    }

    static store::SpsPropertyDef Definition(const std::string& url)
    {
        store::SpsPropertyDef definition;
        definition.DataSource().Open(url);
        return definition;
    }

    static std::string Text(const store::SpsItem& item, const std::string& property)
    {
        try {
            return item.property(property).toString();
        } catch (const com::ComError&) {
            return "(none)";
        }
    }

    static std::string Joined(const com::Variant& list)
    {
        if (!list.isArray()) return list.toString();
        std::string text;
        for (const auto& value : list.array().elements) text += (text.empty() ? "" : ";") + value.toString();
        return text;
    }
};

TEST_F(ProfilesTest, DefinitionsAreCopiedByTheTypeTableAndExistingOnesUpdated)
{
    CreateProfilesInDestination("3", kSource, kDestination);

    EXPECT_EQ(PropertyRows(), (std::vector<PropertyRow>{
                                  {"Author", kDestination, "Property already exists."},
                                  {"Colour title", kDestination, "Created Successfully."},
                                  {"Description", kDestination, "Property already exists."},
                                  {"Due title", kDestination, "Created Successfully."},
                                  {"Keywords", kDestination, "Property already exists."},
                                  {"Old priority", kDestination, "Property already exists."},
                                  {"Region title", kDestination, "Created Successfully."},
                                  {"Title", kDestination, "Property already exists."},
                              }));
    const std::string schema = kDestination + "/system/schema/";
    const store::SpsPropertyDef colour = Definition(schema + "Colour.xml");
    EXPECT_EQ(colour.propertyName(), kOffice + "Colour");
    EXPECT_EQ(colour.title(), "Colour title");
    EXPECT_EQ(colour.description(), "Colour text");
    EXPECT_TRUE(colour.required());
    EXPECT_EQ(colour.dataType(), "string");
    EXPECT_EQ(Joined(colour.listValues()), "Red;Green");
    EXPECT_EQ(Text(colour, "urn:schemas-microsoft-com:publishing:displaycontext"), "7");
    EXPECT_EQ(Text(colour, "urn:schemas-microsoft-com:exch-data:synchronize"), "False");

    // Read only for "List" exactly: a lower-case list is copied without its values.
    const store::SpsPropertyDef region = Definition(schema + "Region.xml");
    EXPECT_EQ(Text(region, "urn:schemas-microsoft-com:publishing:extended-type"), "List");
    EXPECT_EQ(Joined(region.listValues()), "NULL");

    const store::SpsPropertyDef due = Definition(schema + "Due.xml");
    EXPECT_EQ(Text(due, "urn:schemas-microsoft-com:publishing:extended-type"), "Date");
    EXPECT_EQ(due.dataType(), "dateTime");

    const store::SpsPropertyDef priority = Definition(schema + "Priority.xml");
    EXPECT_EQ(priority.title(), "Old priority");
    EXPECT_EQ(Text(priority, "urn:schemas-microsoft-com:publishing:extended-type"), "Number");
    EXPECT_EQ(priority.dataType(), "i4");

    EXPECT_THROW(Definition(schema + "Shape.xml"), com::ComError) << "a type outside the table is skipped";
}

TEST_F(ProfilesTest, ContentClassesAreCopiedWithTheirFields)
{
    ManageContentClasses(kSource, kDestination);

    store::SpsContentClass memo;
    memo.DataSource().Open(kDestination + "/system/schema/Memo_CC.xml");
    EXPECT_EQ(memo.className().toString(), "urn:content-classes:Memo");
    EXPECT_EQ(Joined(memo.baseClasses()), "urn:content-classes:document");
    EXPECT_EQ(Joined(memo.memberProperties()), kOffice + "Title;" + kOffice + "Priority");
    EXPECT_EQ(Joined(memo.property("urn:schemas-microsoft-com:publishing:propertyorder")),
              kOffice + "Title;" + kOffice + "Priority");
    EXPECT_EQ(memo.title(), "Memo");
    EXPECT_EQ(memo.description(), "A short note");
    EXPECT_EQ(importing.lblStatus, "Copying the Source Content classes to the target workspace...");
    EXPECT_TRUE(LoggedErrors().empty());
}

TEST_F(ProfilesTest, AFullCopyAsksFor105PercentAndTheBarStopsAtItsMaximum)
{
    gReplicationType = 0;
    CreateProfilesInDestination("3", kSource, kDestination);
    ManageContentClasses(kSource, kDestination);

    EXPECT_EQ(gReplicationType, 3);
    EXPECT_EQ(importing.value, 100.0f);
    EXPECT_EQ(importing.values.front(), 5.0f);
    EXPECT_EQ(importing.lblPercentage, "100 % Completed..");
    EXPECT_EQ(importing.lblSource, "Source: " + kSource);
    EXPECT_EQ(importing.lblDest, "Target: " + kDestination);
    EXPECT_EQ(importing.captions, (std::vector<std::string>{"Copying Profiles..."}));
}

TEST_F(ProfilesTest, InsideAWorkspaceRunTheBarDoesNotMove)
{
    CreateProfilesInDestination("1", kSource, kDestination);
    ManageContentClasses(kSource, kDestination);

    EXPECT_EQ(gReplicationType, 1);
    EXPECT_TRUE(importing.values.empty());
    EXPECT_EQ(importing.lblSource, "");
    EXPECT_EQ(importing.statuses.front(), "Initiating...");
    EXPECT_EQ(importing.lblPercentage, "0 % Completed..");
}

TEST_F(ProfilesTest, AnEmptySchemaFolderCopiesNothingAndKeepsTheBarANumber)
{
    store::AddFolder(store::AddFolder(store::AddFolder(kSource, "Bare"), "system"), "schema");

    CreateProfilesInDestination("3", kSource + "/Bare", kDestination);

    EXPECT_TRUE(PropertyRows().empty());
    EXPECT_EQ(LoggedErrors("in CreateProfiles"),
              (std::vector<std::string>{"No=11-due to -Division by zeroin CreateProfiles"}));
    EXPECT_EQ(gProgressStep, 5);
    EXPECT_EQ(importing.value, 5.0f);
}

TEST_F(ProfilesTest, DefinitionsThatCannotBeSavedAreNotReportedCreated)
{
    store::SetRoles(kDestination, {{}, {"TARVEXNET\\tester"}, {"TARVEXNET\\owner"}});

    CreateProfilesInDestination("3", kSource, kDestination);

    for (const PropertyRow& row : PropertyRows()) EXPECT_NE(row.status, "Created Successfully.") << row.name;
    EXPECT_EQ(PropertyRows()[1], (PropertyRow{"Colour title", kDestination, "Property could not be created."}));
    EXPECT_FALSE(LoggedErrors("in CreateProfilesA").empty());
}

TEST_F(ProfilesTest, TheStandAloneCopyNeedsTheCoordinatorRole)
{
    mainWindow.top = kSource + "/Documents";
    mainWindow.bottom = kDestination + "/Documents";
    store::SetRoles(kDestination, {{}, {"TARVEXNET\\tester"}, {"TARVEXNET\\owner"}});

    CheckPerm_CreateProfiles();

    EXPECT_EQ(messages.shown(), (std::vector<ui::ShownMessage>{
                                    {"Please make sure you are the \u201Ccoordinator\u201D for this workspace.", 48}}));
    EXPECT_TRUE(PropertyRows().empty());
    EXPECT_TRUE(mainWindow.createProfileEnabled);
}

TEST_F(ProfilesTest, TheStandAloneCopyCopiesBothPartsAndDisablesItsCommand)
{
    mainWindow.top = kSource + "/Documents";
    mainWindow.bottom = kDestination + "/Documents";
    gReplicationType = 3;

    CheckPerm_CreateProfiles();

    EXPECT_TRUE(messages.shown().empty());
    EXPECT_FALSE(mainWindow.createProfileEnabled);
    EXPECT_EQ(PropertyRows().size(), 8u);
    EXPECT_EQ(PropertyRows()[1], (PropertyRow{"Colour title", kDestination, "Created Successfully."}));
    EXPECT_NO_THROW(Definition(kDestination + "/system/schema/Colour.xml"));
    store::SpsContentClass memo;
    EXPECT_NO_THROW(memo.DataSource().Open(kDestination + "/system/schema/Memo_CC.xml"));
    EXPECT_EQ(ui::MousePointer(), ui::vbDefault);
}

TEST_F(ProfilesTest, CancelStopsTheDefinitionsAndSkipsTheContentClasses)
{
    mainWindow.top = kSource;
    mainWindow.bottom = kDestination;
    gReplicationType = 3;
    // Three turns before the first schema row, then three per row: Cancel is
    // pressed as the second row begins, and no third row is begun.
    // Cancel sets the flag and closes the dialog, as the dialog's button does.
    importing.show();
    ui::DoEventsHook cancel([this](int turn) {
        if (turn != 7) return;
        gCancelImport = true;
        importing.unload();
    });

    CheckPerm_CreateProfiles();

    EXPECT_EQ(PropertyRows().size(), 2u) << "Author and Colour";
    store::SpsContentClass memo;
    EXPECT_THROW(memo.DataSource().Open(kDestination + "/system/schema/Memo_CC.xml"), com::ComError);
    EXPECT_EQ(messages.shown(), (std::vector<ui::ShownMessage>{
                                    {"Tarvex failed to create profiles in the destination server due to user action.", 64}}));
    EXPECT_EQ(importing.loads, 2) << "the labels written after Cancel load a new dialog";
    EXPECT_FALSE(importing.visible);
}

TEST_F(ProfilesTest, TheCoordinatorTestReadsTheDestinationWorkspace)
{
    EXPECT_FALSE(CheckPermissionForCoordinator()) << "an empty address box";
    mainWindow.bottom = " " + kDestination + "/Documents/Sub ";
    EXPECT_TRUE(CheckPermissionForCoordinator());

    store::SetRoles(kDestination, {{}, {"TARVEXNET\\tester"}, {"TARVEXNET\\owner", "\\EVERYONE"}});
    EXPECT_TRUE(CheckPermissionForCoordinator_test(kDestination));
    store::SetRoles(kDestination, {{"TARVEXNET\\tester"}, {}, {"TARVEXNET\\owner"}});
    EXPECT_FALSE(CheckPermissionForCoordinator_test(kDestination));
    EXPECT_FALSE(CheckPermissionForCoordinator_test("http://DST/Missing"));
    EXPECT_EQ(LoggedErrors("in CheckPermissionForCoordinator_test").size(), 1u) << "the failed open";
}

} // namespace
