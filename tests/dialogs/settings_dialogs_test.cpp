// The role-mapping and filter-settings dialogs: what they show and store, how
// they are left without saving, refused and failed saves, and a replication
// that follows what the user set in them from the main window.

#include "dialog_fixture.h"

#include "app/core/error_log.h"
#include "app/core/run_guard.h"
#include "app/core/shared_state.h"
#include "app/dialogs/frm_add_property.h"
#include "app/dialogs/frm_edit_property.h"
#include "app/dialogs/frm_filter_settings.h"
#include "app/dialogs/frm_permissions.h"
#include "app/engine/replication_drivers.h"
#include "app/mainwindow/frm_main_gui.h"
#include "platform/store/roles.h"
#include "platform/ui/do_events.h"
#include "platform/ui/list_view.h"
#include "platform/ui/tool_bar.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace dialog_testing;
using namespace engine_testing;

namespace {

const TableRows kDefaultMapping = {{"Readers", "0"}, {"Authors", "1"}, {"Coordinators", "2"}};

std::string Text(const QLabel* label) { return label->text().toStdString(); }

// The filter rows a dialog shows, top to bottom.
TableRows Shown(const frmFilterSettings& dialog)
{
    TableRows rows;
    for (const PreimportFilterRow& row : dialog.ShownRows())
        rows.push_back({row.propertyName, row.metaData, row.checked, row.dataType});
    return rows;
}

// The ways to leave a dialog without saving.
enum class Leave { Cancel, Escape, EscapeInList, TitleBar };

void LeaveDialog(QDialog& dialog, Leave way, QPushButton* cancel, QWidget* list)
{
    switch (way) {
    case Leave::Cancel: QTest::mouseClick(cancel, Qt::LeftButton); break;
    case Leave::Escape: QTest::keyClick(&dialog, Qt::Key_Escape); break;
    case Leave::EscapeInList: QTest::keyClick(list, Qt::Key_Escape); break;
    case Leave::TitleBar: dialog.close(); break;
    }
}

using RoleMappingTest = DialogTest;

TEST_F(RoleMappingTest, TheDefaultMappingIsShownAndReturnedAsOftenAsAsked)
{
    frmPermissions dialog;

    EXPECT_EQ(dialog.windowTitle(), "Map Roles");
    EXPECT_EQ(Text(dialog.Label7), "1.You can use the mapping section below to apply appropriate security" +
                                       std::string(7, ' ') +
                                       "for folders and documents being copied from source to destination.");
    EXPECT_EQ(Text(dialog.Label6), "2.Map your current user roles in source to same or different user roles" +
                                       std::string(9, ' ') + "in destination by using the dropdown options below.");
    const RoleMapping identity = {"0", "1", "2", ""};
    for (int call = 0; call < 2; ++call) EXPECT_EQ(dialog.AddDefaultSettings(), identity);
    const std::array<QComboBox*, 3> lists = {dialog.Combo1, dialog.Combo2, dialog.Combo3};
    for (int role = 0; role < 3; ++role) {
        ASSERT_EQ(lists[role]->count(), 3);
        EXPECT_EQ(lists[role]->itemText(2), "Coordinators");
        EXPECT_EQ(lists[role]->currentIndex(), role);
    }
    EXPECT_FALSE(dialog.cmdApply->isEnabled());
    EXPECT_TRUE(dialog.cmdOk->isEnabled());
    EXPECT_EQ(StoredRoleMapping().AddDefaultSettings(), identity);
    EXPECT_TRUE(LoggedErrors().empty());
}

TEST_F(RoleMappingTest, AStoredMappingWithMissingExtraOrUnknownRowsIsReadSafely)
{
    struct Case {
        std::vector<std::string> codes;
        RoleMapping returned;
        std::array<int, 3> selected;
        std::string error; // the one logged error's number
    } cases[] = {
        {{"0", "1"}, {"0", "1", "", ""}, {0, 1, -1}, "No=13-"},
        {{"0", "1", "2", "1", "0"}, {"0", "1", "2", "1"}, {0, 1, 2}, "No=9-"},
        {{"2", "7", "-1"}, {"2", "7", "-1", ""}, {2, -1, -1}, "No=380-"},
    };
    for (const Case& test : cases) {
        std::vector<SettingsRow> rows;
        for (const std::string& code : test.codes) rows.push_back({{"SourceRole", "Readers"}, {"DestinationRole", code}});
        WriteSettingsRows("tblPermissions", rows);
        const std::size_t logged = LoggedErrors("in AddDefaultSettings").size();

        frmPermissions dialog;
        EXPECT_EQ(dialog.Combo1->currentIndex(), test.selected[0]);
        EXPECT_EQ(dialog.Combo2->currentIndex(), test.selected[1]);
        EXPECT_EQ(dialog.Combo3->currentIndex(), test.selected[2]);
        EXPECT_EQ(StoredRoleMapping().AddDefaultSettings(), test.returned);

        const auto errors = LoggedErrors("in AddDefaultSettings");
        ASSERT_EQ(errors.size(), logged + 2) << "one line for the dialog's load, one for the engine's read";
        EXPECT_EQ(errors.back().rfind(test.error, 0), 0u) << errors.back();
    }
}

TEST_F(RoleMappingTest, LeavingWithoutApplyKeepsTheTable)
{
    for (Leave way : {Leave::Cancel, Leave::Escape, Leave::EscapeInList, Leave::TitleBar}) {
        frmPermissions dialog;
        dialog.show();
        QTest::keyClick(dialog.Combo1, Qt::Key_Down);
        EXPECT_TRUE(dialog.cmdApply->isEnabled()) << "a keyboard change is an edit";
        EXPECT_FALSE(dialog.cmdOk->isEnabled());

        LeaveDialog(dialog, way, dialog.cmdCancel, dialog.Combo1);

        EXPECT_FALSE(dialog.isVisible()) << int(way);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(ReadTable("tblPermissions"), kDefaultMapping);
    }
}

TEST_F(RoleMappingTest, ApplyIsRefusedDuringARunAndAFailedSaveKeepsTheDialogOpen)
{
    frmPermissions dialog;
    dialog.show();
    QTest::keyClick(dialog.Combo3, Qt::Key_Up);
    {
        const RunGuard run("", "");
        QTest::mouseClick(dialog.cmdApply, Qt::LeftButton);
    }
    EXPECT_TRUE(dialog.cmdApply->isEnabled());
    EXPECT_EQ(ReadTable("tblPermissions"), kDefaultMapping);
    EXPECT_TRUE(messages.shown().empty());

    RefuseNewRows("tblPermissions");
    QTest::mouseClick(dialog.cmdApply, Qt::LeftButton);

    EXPECT_EQ(messages.shown(), (std::vector<ui::ShownMessage>{
                                    {"Tarvex failed to save the role mapping. The details are in the error log.", 48}}));
    EXPECT_EQ(LoggedErrors("in SaveModifiedMapping").size(), 1u);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.cmdApply->isEnabled()) << "the edit is still unsaved";
    EXPECT_FALSE(dialog.cmdOk->isEnabled());
    EXPECT_EQ(ReadTable("tblPermissions"), kDefaultMapping);
}

// Apply gives the message loop turns; settings writes that start in them (a
// log-header pass storing the client language, OK of the filter dialog) land
// next to the mapping instead of waiting for it and failing.
TEST_F(RoleMappingTest, WritesStartedFromApplysMessageLoopTurnsLandWithTheMapping)
{
    frmPermissions dialog;
    dialog.show();
    QTest::keyClick(dialog.Combo2, Qt::Key_Down);
    WriteSettingsRows("tblPreimportSettings",
                      {{{"PropertyName", "Title"}, {"MetaData", "Draft"}, {"Checked", "True"}, {"DataType", "Text"}}});
    frmFilterSettings filter;
    filter.show();
    filter.lstSettings->setCurrentItem(filter.lstSettings->topLevelItem(0));
    QTest::mouseClick(filter.Command2, Qt::LeftButton);
    ui::DoEventsHook hook([&](int turn) {
        if (turn != 1) return;
        storeSPSClientConfig("German (Germany)");
        QTest::mouseClick(filter.cmdOk, Qt::LeftButton);
    });
    QTest::mouseClick(dialog.cmdApply, Qt::LeftButton);

    EXPECT_GE(hook.turns(), 1);
    EXPECT_EQ(ReadTable("tblPermissions"), (TableRows{{"Readers", "0"}, {"Authors", "2"}, {"Coordinators", "2"}}));
    EXPECT_EQ(ReadTable("tblSPSClient"), (TableRows{{"German (Germany)"}}));
    EXPECT_EQ(ReadTable("tblPreimportSettings"), TableRows{}) << "the filter row removed in the dialog is gone";
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_TRUE(LoggedErrors().empty());
}

class FilterSettingsTest : public DialogTest {
protected:
    FilterSettingsTest()
    {
        WriteSettingsRows("tblPreimportSettings",
                          {{{"PropertyName", "Author"}, {"MetaData", "Bob"}, {"Checked", "True"}, {"DataType", "Comment box"}},
                           {{"PropertyName", "Title"}, {"MetaData", "Draft"}, {"Checked", " false "}, {"DataType", "Text"}}});
    }

    static void Select(frmFilterSettings& dialog, int index)
    {
        dialog.lstSettings->setCurrentItem(dialog.lstSettings->topLevelItem(index - 1));
    }

    // Answers the next add dialog with the texts and the data type at index.
    void AnswerAdd(const char* name, const char* metadata, int type)
    {
        dialogs.answer("frmAddProperty", [=](QDialog& shown) {
            auto& add = static_cast<frmAddProperty&>(shown);
            add.txtProperty->setText(QString::fromLatin1(name));
            add.txtMetadata->setText(QString::fromLatin1(metadata));
            add.CbDataType->setCurrentIndex(type);
            QTest::mouseClick(add.cmdOk, Qt::LeftButton);
        });
    }

    const TableRows storedRows = {{"Author", "Bob", "True", "Comment box"}, {"Title", "Draft", " false ", "Text"}};
};

TEST_F(FilterSettingsTest, RowsAreAddedEditedRemovedCheckedSavedAndReadBackReversed)
{
    frmFilterSettings dialog;
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Filter Setting");
    EXPECT_EQ(Text(dialog.Label2), "Only checked(Enabled) item(s) will be taken for filter operation ");
    EXPECT_EQ(Shown(dialog), (TableRows{{"Title", "Draft", "False", "Text"},
                                                                   {"Author", "Bob", "True", "Comment box"}}));

    AnswerAdd("  Region ", " North ", 2);
    QTest::mouseClick(dialog.cmdAdd, Qt::LeftButton);
    dialogs.answer("frmEditProperty", [](QDialog& shown) {
        auto& edit = static_cast<frmEditProperty&>(shown);
        EXPECT_EQ(edit.txtProperty->text(), "Author");
        EXPECT_EQ(edit.txtMetadata->selectedText(), "Bob");
        edit.txtMetadata->setText(" Alice ");
        QTest::mouseClick(edit.cmdOk, Qt::LeftButton);
    });
    Select(dialog, 2);
    QTest::mouseClick(dialog.cmdEdit, Qt::LeftButton);
    Select(dialog, 1);
    QTest::mouseClick(dialog.Command2, Qt::LeftButton); // the first row goes too
    dialog.lstSettings->ListItems().Item(2).setChecked(true);
    EXPECT_EQ(dialog.PropertyName, "Region");
    QTest::mouseClick(dialog.cmdOk, Qt::LeftButton);

    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(ReadTable("tblPreimportSettings"),
              (TableRows{{"Author", " Alice ", "True", "Comment box"}, {"Region", "North", "True", "List"}}))
        << "an edited value is kept as typed, an added one trimmed";
    frmFilterSettings again;
    EXPECT_EQ(Shown(again), (TableRows{{"Region", "North", "True", "List"},
                                                                  {"Author", " Alice ", "True", "Comment box"}}));
    EXPECT_TRUE(LoggedErrors().empty());
}

TEST_F(FilterSettingsTest, BlankNamesAndValuesAreRefusedAndEditOrRemoveNeedASelectedRow)
{
    frmFilterSettings dialog;
    dialog.show();
    struct Case {
        bool edit;
        const char *name, *metadata, *message, *box;
    } cases[] = {
        {false, "   ", "x", "please sepcify the property name.", "txtProperty"},
        {false, "Title", "  ", "please sepcify the metadata value.", "txtMetadata"},
        {true, "", "", "please sepcify the metadata value.", "txtMetadata"},
        {true, " ", "v", "please sepcify the property name.", "txtProperty"},
    };
    for (const Case& test : cases) {
        dialogs.answer(test.edit ? "frmEditProperty" : "frmAddProperty", [&](QDialog& shown) {
            Child<QLineEdit>(shown, "txtProperty").setText(QString::fromLatin1(test.name));
            Child<QLineEdit>(shown, "txtMetadata").setText(QString::fromLatin1(test.metadata));
            QTest::mouseClick(&Child<QPushButton>(shown, "cmdOk"), Qt::LeftButton);
            EXPECT_TRUE(shown.isVisible()) << test.message;
            EXPECT_EQ(shown.focusWidget(), &Child<QLineEdit>(shown, test.box));
        });
        Select(dialog, 1);
        QTest::mouseClick(test.edit ? dialog.cmdEdit : dialog.cmdAdd, Qt::LeftButton);
        EXPECT_EQ(messages.shown().back(), (ui::ShownMessage{test.message, 48}));
    }
    EXPECT_EQ(dialog.ShownRows().size(), 2u);
    EXPECT_EQ(dialog.ShownRows()[0].metaData, "Draft");

    dialog.lstSettings->setCurrentItem(nullptr);
    const std::size_t shown = dialogs.shown().size();
    QTest::mouseClick(dialog.cmdEdit, Qt::LeftButton);
    QTest::mouseClick(dialog.Command2, Qt::LeftButton);
    EXPECT_EQ(dialogs.shown().size(), shown);
    EXPECT_EQ(dialog.ShownRows().size(), 2u);
}

TEST_F(FilterSettingsTest, OnlyOkStoresTheListAndNotDuringARunOrWhenTheSaveFails)
{
    for (Leave way : {Leave::Cancel, Leave::Escape, Leave::EscapeInList, Leave::TitleBar}) {
        frmFilterSettings dialog;
        dialog.show();
        Select(dialog, 1);
        QTest::mouseClick(dialog.Command2, Qt::LeftButton);
        LeaveDialog(dialog, way, dialog.cmdCancel, dialog.lstSettings);
        EXPECT_FALSE(dialog.isVisible()) << int(way);
        EXPECT_EQ(ReadTable("tblPreimportSettings"), storedRows);
    }

    frmFilterSettings dialog;
    dialog.show();
    {
        const RunGuard run("", "");
        QTest::mouseClick(dialog.cmdOk, Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
    }
    RefuseNewRows("tblPreimportSettings");
    QTest::mouseClick(dialog.cmdOk, Qt::LeftButton);

    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(messages.shown(), (std::vector<ui::ShownMessage>{
                                    {"Tarvex failed to save the filter settings. The details are in the error log.", 48}}));
    EXPECT_EQ(LoggedErrors("in SavePreImportSettings").size(), 1u);
    EXPECT_EQ(ReadTable("tblPreimportSettings"), storedRows);
}

TEST_F(FilterSettingsTest, AStoredCheckThatIsNoTruthValueLeavesTheRowUnchecked)
{
    WriteSettingsRows("tblPreimportSettings",
                      {{{"PropertyName", "Title"}, {"MetaData", "x"}, {"Checked", "maybe"}, {"DataType", "Date"}}});
    frmFilterSettings dialog;
    EXPECT_EQ(Shown(dialog), (TableRows{{"Title", "x", "False", "Date"}}));
    EXPECT_EQ(LoggedErrors("in frmFilterSettings - Form_Load").size(), 1u);
}

// What a user sets from the window, the next replication follows: the role
// mapping Readers to Authors and Authors to Readers, and a checked filter row.
TEST_F(DialogTest, TheNextReplicationFollowsTheMappingAndTheFilterSetInTheWindow)
{
    network.addServer("SRC");
    network.addServer("DST");
    store::AddWorkspace("SRC", "Team");
    store::AddWorkspace("DST", "Team");
    const std::string source = store::AddFolder("http://SRC/Team/Documents", "Projects");
    const store::RoleLists sourceRoles{{"TARVEXNET\\reader"}, {"TARVEXNET\\author"}, {"TARVEXNET\\tester"}};
    store::SetRoles(source, sourceRoles);
    store::DocumentSpec approved("yes"), draft("no");
    approved.properties["urn:schemas-microsoft-com:office:office#Title"] = "Approved";
    draft.properties["urn:schemas-microsoft-com:office:office#Title"] = "Draft";
    store::AddDocument(source, "approved.txt", approved);
    store::AddDocument(source, "draft.txt", draft);

    dialogs.answer("frmPermissions", [](QDialog& shown) {
        auto& mapping = static_cast<frmPermissions&>(shown);
        QTest::keyClick(mapping.Combo1, Qt::Key_Down);
        QTest::keyClick(mapping.Combo2, Qt::Key_Up);
        QTest::mouseClick(mapping.cmdApply, Qt::LeftButton);
        QTest::mouseClick(mapping.cmdOk, Qt::LeftButton);
    });
    dialogs.answer("frmAddProperty", [](QDialog& shown) {
        auto& add = static_cast<frmAddProperty&>(shown);
        add.txtProperty->setText("Title");
        add.txtMetadata->setText("approved");
        add.CbDataType->setCurrentText("Comment box");
        QTest::mouseClick(add.cmdOk, Qt::LeftButton);
    });
    dialogs.answer("frmFilterSettings", [](QDialog& shown) {
        auto& filter = static_cast<frmFilterSettings&>(shown);
        QTest::mouseClick(filter.cmdAdd, Qt::LeftButton);
        filter.lstSettings->ListItems().Item(1).setChecked(true);
        QTest::mouseClick(filter.cmdOk, Qt::LeftButton);
    });
    FrmMainGUI& window = ui::FormInstance<FrmMainGUI>::get();
    window.tbTop->Buttons(6).action()->trigger();
    window.tbBottom->Buttons(11).action()->trigger();
    ui::FormInstance<FrmMainGUI>::unload();
    InstallMainWindowForm(&mainWindow);
    EXPECT_EQ(dialogs.shown(), (std::vector<std::string>{"frmPermissions", "frmFilterSettings", "frmAddProperty"}));

    const std::string target = "http://DST/Team/Documents";
    gSelectedSources = source + "|";
    gSelectedDestinations = target + "=";
    gSelectedTypes = "3~";
    gReplicateFolders = gReplicateDocuments = gAssignFolderSecurity = true;
    DoDefaultReplication();

    const store::RoleLists copied = RolesOf(target + "/Projects");
    EXPECT_EQ(copied.authors, sourceRoles.readers);
    EXPECT_EQ(copied.readers, sourceRoles.authors);
    EXPECT_EQ(copied.coordinators, sourceRoles.coordinators);
    EXPECT_TRUE(ItemExists(target + "/Projects/approved.txt"));
    EXPECT_FALSE(ItemExists(target + "/Projects/draft.txt"));
    EXPECT_EQ(ReportRows().back(), (ReportRow{source + "/draft.txt", target + "/Projects/draft.txt", "2 Bytes",
                                              "Import failed due to filter settings."}));
    EXPECT_EQ(gFailedCount, 1);
}

} // namespace
