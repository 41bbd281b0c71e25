#include "window_fixture.h"

#include "app/core/settings_database.h"
#include "app/dialogs/installed_forms.h"
#include "clips.h"
#include "platform/com/module_loader.h"
#include "platform/store/admin.h"
#include "platform/ui/form_instance.h"
#include "platform/ui/tool_bar.h"

#include <cstdlib>

namespace window_testing {

void PrintTo(const ReportPageRow& row, std::ostream* out)
{
    *out << "{" << row.source << " | " << row.size << " | " << row.destination << " | " << row.remark << "}";
}

WindowTest::WindowTest()
{
    store::BuildDemoNetwork();
    store::AddWorkspace("SPSTARGET", "Team");
    const char* bin = std::getenv("TARVEX_BUILD_BIN");
    EXPECT_EQ(com::LoadModule(std::string(bin ? bin : ".") + "/Vornik.so").registerServer(), com::S_OK);
    CreateDatabase();
    InstallDialogForms();
    avigen::WriteAviFile(programFolder() / "findingsp.avi", avigen::ConnectingClip(), avigen::Coding::Rle8);
    avigen::WriteAviFile(programFolder() / "importing.avi", avigen::ImportingClip(), avigen::Coding::Rle8);
}

WindowTest::~WindowTest()
{
    ui::UnloadAllForms();
    ui::DeleteUnloadedForms();
    InstallImportingForm(nullptr);
    InstallRoleMappingForm(nullptr);
}

FrmMainGUI& WindowTest::window() { return ui::FormInstance<FrmMainGUI>::get(); }

void WindowTest::connectBoth()
{
    window().show();
    ConnectSource(window(), "SPSSOURCE");
    ConnectDestination(window(), "SPSTARGET");
}

void WindowTest::addRows(const Texts& sourceFolder, const Texts& rows)
{
    FrmMainGUI& w = window();
    BrowseTo(*w.tvTop, sourceFolder);
    BrowseTo(*w.tvBottom, {"Team", "Documents"});
    ClickRows(*w.lvTop, rows);
    Press(*w.tbBottom, 7);
}

std::vector<ReportPageRow> WindowTest::reportRows() const
{
    std::vector<ReportPageRow> rows;
    if (shellOpens_.documents().empty()) return rows;
    const std::vector<std::string> lines = testing_support::ReadCrLfLines(shellOpens_.documents().back());
    // An item row: " <TR>", then per cell its TD and FONT lines, the value,
    // "</FONT>" and "</TD>".
    for (std::size_t i = 0; i + 18 < lines.size(); ++i)
        if (lines[i] == " <TR>" && lines[i + 1] == "<TD WIDTH='40%'>")
            rows.push_back({lines[i + 3], lines[i + 8], lines[i + 13], lines[i + 18]});
    return rows;
}

} // namespace window_testing
