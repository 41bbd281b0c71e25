// Replicating from the window: the options dialog for each selection, a
// cancelled dialog, whole runs of a folder entry and of a workspace entry
// compared item by item with their source, Cancel during a run, and the
// commands refused while a run yields.

#include "window_fixture.h"

#include "app/core/forms.h"
#include "app/core/run_guard.h"
#include "app/core/shared_state.h"
#include "app/dialogs/frm_connecting.h"
#include "app/dialogs/frm_importing.h"
#include "app/dialogs/frm_option.h"
#include "app/engine/cart_entries.h"
#include "app/mainwindow/selection_rules.h"
#include "command_states.h"
#include "platform/store/admin.h"
#include "platform/ui/do_events.h"
#include "platform/ui/form_instance.h"
#include "platform/ui/progress_bar.h"
#include "platform/ui/tool_bar.h"
#include "support/store_tree.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <filesystem>
#include <functional>
#include <optional>
#include <utility>

namespace {

using namespace window_testing;
using testing_support::CopiedItems;

bool ImportingLoaded() { return ui::FormInstance<frmImporting>::isLoaded(); }
frmImporting& Importing() { return ui::FormInstance<frmImporting>::get(); }

void ClickButton(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

void ExpectCopiedAlike(const std::string& source, const std::string& copy)
{
    testing_support::ExpectSameItems(CopiedItems(source), CopiedItems(copy), source);
}

// Which of the window's commands are on.
struct States {
    bool add, remove, replicate, connectS, disconnectS, connectD, disconnectD, settings, exit;
    friend bool operator==(const States&, const States&) = default;
};

void PrintTo(const States& s, std::ostream* out)
{
    *out << "add " << s.add << ", remove " << s.remove << ", replicate " << s.replicate << ", connectS " << s.connectS
         << ", disconnectS " << s.disconnectS << ", connectD " << s.connectD << ", disconnectD " << s.disconnectD
         << ", settings " << s.settings << ", exit " << s.exit;
}

class ReplicationTest : public WindowTest {
protected:
    // The options dialog, answered with every copy option, the document state
    // as in the source, and Proceed.
    void proceedWithEverything()
    {
        dialogs_.answer("frmOption", [](QDialog& shown) {
            auto& options = static_cast<frmOption&>(shown);
            for (QAbstractButton* box : std::initializer_list<QAbstractButton*>{
                     options.CheckFAP, options.CheckFAS, options.CheckDAM, options.CheckDAS, options.OptionSource})
                ClickButton(box);
            if (options.CheckP->isEnabled()) ClickButton(options.CheckP);
            ClickButton(options.Proceed);
        });
    }
    static void expectRunEnded()
    {
        FrmMainGUI& w = window();
        EXPECT_FALSE(RunGuard::active());
        EXPECT_FALSE(ImportingLoaded());
        EXPECT_TRUE(gSelectedSources.empty() && gSelectedTypes.empty());
        ExpectCommandStates({{w.tbBottom, 8, w.mnuRemove, false}, {w.tbBottom, 12, w.mnuReplicate, false}});
    }
};

TEST_F(ReplicationTest, TheOptionsFitTheSelectionAndACancelKeepsItAndWritesNoReport)
{
    FrmMainGUI& w = window();
    connectBoth();
    const struct {
        std::string sources, destinations, types;
        bool workspaces, folders;
    } shapes[] = {
        {kSource + "/Marketing|", kTarget + "=", "2~", true, false},
        {kMarketingDocuments + "/empty notes.txt|", kTeamDocuments + "=", "3~", false, true},
        {kSource + "/Marketing|" + kMarketingDocuments + "/empty notes.txt|", kTarget + "=" + kTeamDocuments + "=",
         "2~3~", true, true},
    };
    for (const auto& shape : shapes) {
        gSelectedSources = shape.sources;
        gSelectedDestinations = shape.destinations;
        gSelectedTypes = shape.types;
        dialogs_.answer("frmOption", [&](QDialog& shown) {
            auto& options = static_cast<frmOption&>(shown);
            EXPECT_EQ(options.Choices(), LoadedOptions(shape.workspaces, shape.folders, false)) << shape.types;
            EXPECT_TRUE(RunGuard::active());
            advanceClock(5);
            ClickButton(options.CmdCancel);
        });
        Press(*w.tbBottom, 12);
        EXPECT_EQ(gSelectedSources, shape.sources);
        EXPECT_EQ(gSelectedTypes, shape.types);
        EXPECT_TRUE(gOptionsCancelled);
        EXPECT_EQ(gRunStartTime, sys::GeneralDateText(sys::MakeDateTime({2026, 12, 7, 22, 44, 30 + 5 * int(&shape - shapes)})))
            << "taken before the dialog opened";
    }
    EXPECT_EQ(dialogs_.shown().size(), std::size(shapes));
    EXPECT_TRUE(shellOpens_.documents().empty());
    const std::filesystem::path log = programFolder() / "Log";
    if (std::filesystem::exists(log)) {
        for (const auto& file : std::filesystem::directory_iterator(log)) EXPECT_NE(file.path().extension(), ".htm");
    }
    EXPECT_FALSE(RunGuard::active());
    EXPECT_FALSE(ImportingLoaded());
    EXPECT_TRUE(messageBoxes_.shown().empty());
}

TEST_F(ReplicationTest, AFolderAndADocumentArriveAsInTheSourceWithTheBarAtExactlyOneHundred)
{
    FrmMainGUI& w = window();
    connectBoth();
    addRows({"Marketing", "Documents"}, {"Campaigns 2026", "press release.htm"});
    proceedWithEverything();
    messageBoxes_.queueAnswer(ui::vbYes); // copy the workspace's profiles first
    float lastValue = -1;
    ui::DoEventsHook bar([&](int) {
        if (ImportingLoaded() && Importing().isVisible()) lastValue = Importing().ProgressBar1->Value();
    });

    Press(*w.tbBottom, 12);

    ExpectCopiedAlike(kMarketingDocuments + "/Campaigns 2026", kTeamDocuments + "/Campaigns 2026");
    ExpectCopiedAlike(kMarketingDocuments + "/press release.htm", kTeamDocuments + "/press release.htm");
    EXPECT_EQ(lastValue, 100.0f);
    const std::vector<ReportPageRow> rows = reportRows();
    ASSERT_EQ(rows.size(), CopiedItems(kMarketingDocuments + "/Campaigns 2026").size() + 1);
    for (const ReportPageRow& row : rows) EXPECT_EQ(row.remark, "Replicated Successfully.") << row.source;
    EXPECT_EQ(rows.back(), (ReportPageRow{kMarketingDocuments + "/press release.htm", "90 Bytes", kTeamDocuments + "/press release.htm",
                                          "Replicated Successfully."}));
    EXPECT_EQ(shellOpens_.documents().size(), 1u);
    EXPECT_EQ(messageBoxes_.shown().size(), 1u) << "the profile copy offer alone";
    expectRunEnded();
}

TEST_F(ReplicationTest, AWorkspaceArrivesWholeInTheTargetServer)
{
    FrmMainGUI& w = window();
    connectBoth();
    ClickRows(*w.lvTop, {"Marketing"});
    Press(*w.tbBottom, 7);
    proceedWithEverything();

    Press(*w.tbBottom, 12);

    for (const char* folder : {"/Documents", "/Categories"})
        ExpectCopiedAlike(kSource + "/Marketing" + folder, kTarget + "/Marketing" + folder);
    EXPECT_EQ(CopiedItems(kTarget + "/Marketing")[""], CopiedItems(kSource + "/Marketing")[""]);
    EXPECT_EQ(testing_support::SchemaItemNames(kTarget + "/Marketing"),
              testing_support::SchemaItemNames(kSource + "/Marketing"));
    const std::vector<ReportPageRow> rows = reportRows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front(), (ReportPageRow{kSource + "/Marketing", "", kTarget, "Replicated Successfully."}));
    for (const ReportPageRow& row : rows) EXPECT_EQ(row.remark, "Replicated Successfully.") << row.source;
    EXPECT_TRUE(messageBoxes_.shown().empty());
    expectRunEnded();
}

// "~" ends only the type codes and "=" only the destination folders: an item
// named with either is added and replicated; only a pending folder whose name
// holds "=" can take nothing, as its URL would split the destinations.
TEST_F(ReplicationTest, ItemsNamedWithTildeOrEqualsAreAddedAndReplicated)
{
    FrmMainGUI& w = window();
    store::AddDocument(kMarketingDocuments, "~draft.txt", store::DocumentSpec("draft"));
    store::AddDocument(kMarketingDocuments, "q1=final.txt", store::DocumentSpec("final figures"));
    store::AddDocument(store::AddFolder(kMarketingDocuments, "x=y~z"), "inside.txt", store::DocumentSpec("in"));
    connectBoth();
    addRows({"Marketing", "Documents"}, {"~draft.txt", "q1=final.txt", "x=y~z"});
    Click(*w.tvBottom, {"Team", "Documents", "x=y~z"});
    BrowseTo(*w.tvTop, {"Marketing", "Documents"});
    ClickRows(*w.lvTop, {"empty notes.txt"});
    Press(*w.tbBottom, 7);
    EXPECT_EQ(messageBoxes_.shown(), (std::vector<ui::ShownMessage>{
                                         {DestinationSeparatorRefusal(kTeamDocuments + "/x=y~z"), 48}}));
    EXPECT_EQ(SplitEntries(gSelectedSources, "|").size(), 3u);
    proceedWithEverything();

    Press(*w.tbBottom, 12);

    for (const char* name : {"/~draft.txt", "/q1=final.txt", "/x=y~z"})
        ExpectCopiedAlike(kMarketingDocuments + name, kTeamDocuments + name);
    const std::vector<ReportPageRow> rows = reportRows();
    EXPECT_EQ(rows.size(), 4u);
    for (const ReportPageRow& row : rows) EXPECT_EQ(row.remark, "Replicated Successfully.") << row.source;
    expectRunEnded();
}

TEST_F(ReplicationTest, CancelAfterTheFirstEntryEndsTheRunWithItsReportNamedInTheLogWhenNothingOpensIt)
{
    FrmMainGUI& w = window();
    connectBoth();
    store::AddDocument(kMarketingDocuments, "z last.txt", store::DocumentSpec("z"));
    addRows({"Marketing", "Documents"}, {"empty notes.txt", "press release.htm", "z last.txt"});
    dialogs_.answer("frmOption", [](QDialog& shown) { ClickButton(static_cast<frmOption&>(shown).Proceed); });
    bool cancelled = false;
    ui::DoEventsHook cancel([&](int) {
        if (cancelled || !ImportingLoaded() || Importing().lblPercentage->text() != "33 % Completed...") return;
        cancelled = true;
        ClickButton(Importing().cmdCancel);
    });

    shellOpens_.failOpens(); // a desktop without an opener

    Press(*w.tbBottom, 12);

    EXPECT_EQ(messageBoxes_.shown(),
              (std::vector<ui::ShownMessage>{{"Tarvex failed to replicate all documents due to user action.", 64}}));
    ASSERT_EQ(shellOpens_.documents().size(), 1u);
    EXPECT_EQ(logLines().back(), kLogTime + "No=31-due to -No application could open the activity report " +
                                     shellOpens_.documents().front().string() + "in WriteActivityReport");
    // Cancel came after the first entry; the second was begun and ends, the
    // third is not.
    const std::vector<ReportPageRow> rows = reportRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].source, kMarketingDocuments + "/press release.htm");
    const auto copied = CopiedItems(kTeamDocuments);
    EXPECT_EQ(copied.count("/press release.htm"), 1u);
    EXPECT_EQ(copied.count("/z last.txt"), 0u);
    expectRunEnded();
}

TEST_F(ReplicationTest, EveryCommandThatWouldDisturbARunIsRefusedWhileItYields)
{
    FrmMainGUI& w = window();
    connectBoth();
    addRows({"Marketing", "Documents"}, {"empty notes.txt", "press release.htm"});
    w.DoRealConnectionD(); // a connect dialog left open before the run
    ui::FormInstance<frmConnecting>::get().txtURL->setText("SPSBERLIN");
    dialogs_.answer("frmOption", [](QDialog& shown) { ClickButton(static_cast<frmOption&>(shown).Proceed); });

    bool pressed = false;
    ui::DoEventsHook during([&](int) {
        if (pressed || !ImportingLoaded()) return;
        pressed = true;
        // Browsing stays live, and selects another source item; the run reads
        // the address boxes it started with.
        const std::string runTop = w.txtTop->text().toStdString();
        const std::string runBottom = w.txtBottom->text().toStdString();
        Click(*w.tvTop, {"Research and Development"});
        ClickRows(*w.lvTop, {"Documents"});
        EXPECT_EQ(MainWindow().txtTop(), runTop);
        EXPECT_EQ(MainWindow().txtBottom(), runBottom);

        // What the engine switches meanwhile is kept for after the run.
        SwitchCommand(*w.tbBottom, 5, w.mnuRefreshD, true);
        const std::string cart[] = {gSelectedSources, gSelectedDestinations, gSelectedTypes, gProfileSources};
        const std::string top = w.txtTop->text().toStdString();
        const std::pair<ui::ToolBar*, int> commands[] = {{w.tbTop, 1}, {w.tbTop, 2}, {w.tbTop, 4}, {w.tbTop, 6},
                                                         {w.tbBottom, 1}, {w.tbBottom, 2}, {w.tbBottom, 3},
                                                         {w.tbBottom, 5}, {w.tbBottom, 7}, {w.tbBottom, 8},
                                                         {w.tbBottom, 10}, {w.tbBottom, 11}, {w.tbBottom, 12}};
        for (const auto& [bar, button] : commands) Press(*bar, button);
        w.DoRealProfileCreation();
        QTest::keyClick(w.tvBottom, Qt::Key_V, Qt::ControlModifier);
        ClickButton(ui::FormInstance<frmConnecting>::get().CmdOk);

        EXPECT_TRUE(messageBoxes_.shown().empty());
        EXPECT_EQ(dialogs_.shown(), std::vector<std::string>{"frmOption"});
        EXPECT_EQ((std::vector<std::string>{gSelectedSources, gSelectedDestinations, gSelectedTypes, gProfileSources}),
                  std::vector<std::string>(std::begin(cart), std::end(cart)));
        EXPECT_EQ(w.txtTop->text().toStdString(), top);
        EXPECT_EQ(w.txtBottom->text().toStdString(), runBottom);
        EXPECT_TRUE(ui::FormInstance<FrmMainGUI>::isLoaded() && w.isVisible());
        EXPECT_EQ(gDestServerName, "SPSTARGET");
    });

    Press(*w.tbBottom, 12);

    ASSERT_TRUE(pressed);
    const std::vector<ReportPageRow> rows = reportRows();
    ASSERT_EQ(rows.size(), 2u);
    for (const ReportPageRow& row : rows) EXPECT_EQ(row.remark, "Replicated Successfully.") << row.source;
    EXPECT_EQ(CopiedItems(kTeamDocuments + "/press release.htm")[""]["sha256"],
              CopiedItems(kMarketingDocuments + "/press release.htm")[""]["sha256"]);
    EXPECT_EQ(shellOpens_.documents().size(), 1u) << "one run, one report";
    EXPECT_EQ(MainWindow().txtTop(), kSource + "/Research and Development/Documents");
    ExpectCommandStates({{w.tbBottom, 5, w.mnuRefreshD, true}});
    EXPECT_TRUE(ui::FormInstance<frmConnecting>::get().CmdOk->isEnabled());
    expectRunEnded();
}

// Which commands a user finds on: Add is off after either pane's disconnect
// until that pane is connected again and an item chosen (nothing then adds
// into the emptied pane, by button, menu or Ctrl+V); during a run every
// command the run would refuse is off but Exit, and after it each comes back
// as it was, bar what the run itself switched.
TEST_F(ReplicationTest, TheCommandsOnAfterADisconnectAndDuringARun)
{
    FrmMainGUI& w = window();
    const auto command = [](ui::ToolBar& bar, int button, QAction* item) {
        EXPECT_EQ(bar.Buttons(button).Enabled(), item->isEnabled()) << item->objectName().toStdString();
        return bar.Buttons(button).Enabled();
    };
    const auto read = [&]() -> States {
        // Map Roles, List Servers and Filter: on whenever no run lasts.
        const bool settings = command(*w.tbTop, 6, w.mnuMapRoles) && w.tbBottom->Buttons(2).Enabled() &&
                              command(*w.tbBottom, 11, w.mnuFilter);
        return {command(*w.tbBottom, 7, w.mnuAdd),        command(*w.tbBottom, 8, w.mnuRemove),
                command(*w.tbBottom, 12, w.mnuReplicate), command(*w.tbTop, 1, w.mnuConnectS),
                command(*w.tbTop, 2, w.mnuDisconnectS),   command(*w.tbBottom, 1, w.mnuConnectD),
                command(*w.tbBottom, 3, w.mnuDisconnectD), settings,
                command(*w.tbTop, 8, w.mnuExit)};
    };
    const auto triesToAdd = [&] {
        Press(*w.tbBottom, 7);
        w.mnuAdd->trigger();
        w.tvBottom->setFocus();
        QTest::keyClick(w.tvBottom, Qt::Key_V, Qt::ControlModifier);
    };
    std::optional<States> duringRun;
    const auto replicate = [&] {
        dialogs_.answer("frmOption", [](QDialog& shown) { ClickButton(static_cast<frmOption&>(shown).Proceed); });
        ui::DoEventsHook during([&](int) {
            if (!duringRun && ImportingLoaded()) duringRun = read();
        });
        Press(*w.tbBottom, 12);
    };
    const auto chooseSourceDocument = [&] {
        BrowseTo(*w.tvTop, {"Marketing", "Documents"});
        ClickRows(*w.lvTop, {"empty notes.txt"});
    };
    const auto yes = [&](ui::ToolBar& bar, int button) {
        messageBoxes_.queueAnswer(ui::vbYes);
        Press(bar, button);
    };

    const struct {
        const char* what;
        std::function<void()> act;
        States expected; // add, remove, replicate, connect and disconnect source and destination, settings, exit
    } steps[] = {
        {"both connected, a document and a folder chosen",
         [&] {
             connectBoth();
             chooseSourceDocument();
             BrowseTo(*w.tvBottom, {"Team", "Documents"});
         },
         {true, false, true, false, true, false, true, true, true}},
        {"destination disconnected, Add tried every way",
         [&] {
             yes(*w.tbBottom, 3);
             triesToAdd();
             EXPECT_EQ(w.lvBottom->ListItems().Count(), 0);
             EXPECT_TRUE(gSelectedSources.empty());
         },
         {false, false, false, false, true, true, false, true, true}},
        {"destination connected again: the source's document goes into no server",
         [&] { ConnectDestination(w, "SPSTARGET"); },
         {false, false, true, false, true, false, true, true, true}},
        {"a destination folder chosen",
         [&] { BrowseTo(*w.tvBottom, {"Team", "Documents"}); },
         {true, false, true, false, true, false, true, true, true}},
        {"source disconnected, Add tried every way",
         [&] {
             yes(*w.tbTop, 2);
             triesToAdd();
             EXPECT_EQ(RowNames(*w.lvBottom), Texts{});
         },
         {false, false, true, true, false, false, true, true, true}},
        {"source connected again",
         [&] { ConnectSource(w, "SPSSOURCE"); },
         {false, false, true, false, true, false, true, true, true}},
        {"a source document chosen and added",
         [&] {
             chooseSourceDocument();
             Press(*w.tbBottom, 7);
             EXPECT_EQ(gSelectedSources, kMarketingDocuments + "/empty notes.txt|");
         },
         {true, true, true, false, true, false, true, true, true}},
        {"during a run", replicate, {false, false, false, false, false, false, false, false, true}},
        {"after the run", [] {}, {true, false, false, false, true, false, true, true, true}},
    };
    for (const auto& step : steps) {
        step.act();
        const States shown = duringRun ? *std::exchange(duringRun, std::nullopt) : read();
        EXPECT_EQ(shown, step.expected) << step.what;
    }
    EXPECT_EQ(reportRows().size(), 1u);
    EXPECT_TRUE(logLines().empty());
}

// Exit, Esc and the window's close button ask during a run as at any other
// time. Yes stops the run as its Cancel does: the entry begun ends, the run
// ends as a cancelled run, its report written and opened, and only then does
// the window close; nothing the report calls copied is missing. No lets the
// run go on to its end.
TEST_F(ReplicationTest, ClosingDuringARunAsksAndYesEndsTheRunAsCancelledThenTheProgram)
{
    enum Way { kExitButton, kEsc, kCloseButton };
    const struct {
        Way way;
        int answer;
        std::size_t rows;
    } cases[] = {{kExitButton, ui::vbNo, 3}, {kExitButton, ui::vbYes, 2}, {kEsc, ui::vbYes, 2}, {kCloseButton, ui::vbYes, 2}};
    const std::string question = "Do you want to close the application?";
    const std::string stopped = "Tarvex failed to replicate all documents due to user action.";
    store::AddDocument(kMarketingDocuments, "z last.txt", store::DocumentSpec("z"));
    for (const auto& c : cases) {
        const std::string label = std::to_string(int(c.way)) + (c.answer == ui::vbYes ? " yes" : " no");
        const std::string folder = "Run " + std::to_string(&c - cases);
        store::AddFolder(kTeamDocuments, folder);
        advanceClock(60); // a report a minute
        FrmMainGUI& w = window();
        connectBoth();
        BrowseTo(*w.tvTop, {"Marketing", "Documents"});
        BrowseTo(*w.tvBottom, {"Team", "Documents", folder});
        ClickRows(*w.lvTop, {"empty notes.txt", "press release.htm", "z last.txt"});
        Press(*w.tbBottom, 7);
        dialogs_.answer("frmOption", [](QDialog& shown) { ClickButton(static_cast<frmOption&>(shown).Proceed); });
        const std::size_t shown = messageBoxes_.shown().size();
        const std::size_t opened = shellOpens_.documents().size();
        bool asked = false;
        ui::DoEventsHook close([&](int) {
            if (asked || !ImportingLoaded() || Importing().lblPercentage->text() != "33 % Completed...") return;
            asked = true;
            messageBoxes_.queueAnswer(c.answer);
            switch (c.way) {
            case kExitButton: Press(*w.tbTop, 8); break;
            case kEsc: QTest::keyClick(&w, Qt::Key_Escape); break;
            case kCloseButton: w.close(); break;
            }
            EXPECT_TRUE(ui::FormInstance<FrmMainGUI>::isLoaded() && w.isVisible()) << label << ": not while the run lasts";
        });

        Press(*w.tbBottom, 12);

        ASSERT_TRUE(asked) << label;
        std::vector<ui::ShownMessage> expected{{question, 36}};
        if (c.answer == ui::vbYes) expected.push_back({stopped, 64});
        EXPECT_EQ(std::vector<ui::ShownMessage>(messageBoxes_.shown().begin() + std::ptrdiff_t(shown),
                                                messageBoxes_.shown().end()),
                  expected)
            << label;
        EXPECT_EQ(shellOpens_.documents().size(), opened + 1) << label << ": the report is written and opened";
        const std::vector<ReportPageRow> rows = reportRows();
        EXPECT_EQ(rows.size(), c.rows) << label;
        for (const ReportPageRow& row : rows) {
            EXPECT_EQ(row.remark, "Replicated Successfully.") << label << " " << row.source;
            EXPECT_EQ(CopiedItems(row.destination)[""]["sha256"], CopiedItems(row.source)[""]["sha256"]) << row.destination;
        }
        EXPECT_FALSE(RunGuard::active());
        EXPECT_EQ(ui::FormInstance<FrmMainGUI>::isLoaded(), c.answer == ui::vbNo) << label;
        ui::UnloadAllForms();
        ui::DeleteUnloadedForms();
    }
    EXPECT_TRUE(logLines().empty());
}

} // namespace
