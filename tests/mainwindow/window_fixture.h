#pragma once
// A test of the main window on the demo network (the user TARVEXNET\tester
// coordinates its workspaces), with the real progress dialog and role mapping,
// the registry component registered, a fresh settings database, scripted
// modal dialogs and message boxes, and an empty workspace "Team" on the
// target server.

#include "core/core_fixture.h"
#include "window_driver.h"

#include "platform/ui/modal_dialog.h"
#include "platform/ui/screen.h"
#include "support/scoped_env.h"

#include <filesystem>
#include <string>
#include <vector>

namespace window_testing {

inline const std::string kSource = "http://SPSSOURCE";
inline const std::string kTarget = "http://SPSTARGET";
inline const std::string kMarketingDocuments = kSource + "/Marketing/Documents";
inline const std::string kTeamDocuments = kTarget + "/Team/Documents";

// One row of the activity report: source, size, destination, remark.
struct ReportPageRow {
    std::string source, size, destination, remark;
    friend bool operator==(const ReportPageRow&, const ReportPageRow&) = default;
};
void PrintTo(const ReportPageRow& row, std::ostream* out);

class WindowTest : public CoreTest {
protected:
    WindowTest();
    ~WindowTest() override;

    static FrmMainGUI& window();

    // Connects SPSSOURCE above and SPSTARGET below.
    void connectBoth();
    // Browses the source to the folder and the destination to Team/Documents,
    // clicks the rows and presses Add.
    void addRows(const Texts& sourceFolder, const Texts& rows);

    // The rows of the report page the run opened; none when it opened none.
    std::vector<ReportPageRow> reportRows() const;

    testing_support::TempFolder networkFolder_;
    testing_support::ScopedEnv network_{"TARVEX_NETWORK", (networkFolder_.path() / "network").string()};
    testing_support::ScopedEnv domain_{"USERDOMAIN", "TARVEXNET"};
    testing_support::ScopedEnv user_{"USERNAME", "tester"};
    ui::ScopedScreenSize screen_{{12000, 9000}};
    ui::ScriptedDialogs dialogs_;
};

} // namespace window_testing
