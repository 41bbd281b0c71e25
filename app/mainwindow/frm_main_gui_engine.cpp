// What the replication engine and the dialogs reach of the window, and the
// window's end.

#include "app/mainwindow/frm_main_gui.h"

#include "app/core/forms.h"
#include "app/core/run_guard.h"
#include "platform/ui/form_instance.h"
#include "platform/ui/tool_bar.h"

#include <QCoreApplication>
#include <QLineEdit>

#include <stdexcept>

class FrmMainGUI::EngineView final : public MainWindowForm {
public:
    explicit EngineView(FrmMainGUI& window) : window_(window) {}

    // While a run is active, the address boxes as the run found them: the
    // user may browse meanwhile, the run goes on with its own servers.
    std::string txtTop() override
    {
        return RunGuard::active() ? RunGuard::sourceAddress() : window_.txtTop->text().toStdString();
    }
    std::string txtBottom() override
    {
        return RunGuard::active() ? RunGuard::destinationAddress() : window_.txtBottom->text().toStdString();
    }
    void setTxtTop(const std::string& text) override { window_.txtTop->setText(QString::fromStdString(text)); }
    void setTxtBottom(const std::string& text) override { window_.txtBottom->setText(QString::fromStdString(text)); }
    std::string FindDocumentsFolderTitle(const std::string& server) override
    {
        return window_.FindDocumentsFolderTitle(server);
    }
    std::string FindCategoriesFolderTitle(const std::string& server) override
    {
        return window_.FindCategoriesFolderTitle(server);
    }
    void DisplaySourceWorkspaces(const std::string& server) override { window_.DisplaySourceWorkspaces(server); }
    void DisplayDestWorkspaces(const std::string& server) override { window_.DisplayDestWorkspaces(server); }
    void setReplicateEnabled(bool enabled) override { SwitchCommand(*window_.tbBottom, 12, window_.mnuReplicate, enabled); }
    void setRemoveEnabled(bool enabled) override { SwitchCommand(*window_.tbBottom, 8, window_.mnuRemove, enabled); }
    void setCreateProfileEnabled(bool enabled) override
    {
        SwitchCommand(*window_.tbBottom, 10, window_.mnuCreateProfile, enabled);
    }
    void setRefreshSourceEnabled(bool enabled) override { SwitchCommand(*window_.tbTop, 4, window_.mnuRefreshS, enabled); }
    void setRefreshDestEnabled(bool enabled) override { SwitchCommand(*window_.tbBottom, 5, window_.mnuRefreshD, enabled); }

private:
    FrmMainGUI& window_;
};

namespace {

bool isInstalled(const MainWindowForm* view)
{
    try {
        return &MainWindow() == view;
    } catch (const std::logic_error&) {
        return false;
    }
}

void uninstall(const MainWindowForm* view)
{
    if (view && isInstalled(view)) InstallMainWindowForm(nullptr);
}

} // namespace

void FrmMainGUI::installEngineView()
{
    engineView_ = std::make_unique<EngineView>(*this);
    InstallMainWindowForm(engineView_.get());
}

FrmMainGUI::~FrmMainGUI() { uninstall(engineView_.get()); }

void FrmMainGUI::formUnloading()
{
    uninstall(engineView_.get());
    ui::UnloadAllForms();
    QCoreApplication::quit();
}
