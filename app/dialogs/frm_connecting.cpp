#include "app/dialogs/frm_connecting.h"

#include "app/core/error_trap.h"
#include "app/core/forms.h"
#include "app/core/run_guard.h"
#include "app/core/shared_state.h"
#include "app/dialogs/filter_rules.h"
#include "app/dialogs/frm_finding.h"
#include "app/engine/runtime_values.h"
#include "platform/sys/user.h"
#include "platform/ui/do_events.h"
#include "platform/ui/form_instance.h"
#include "platform/ui/message_box.h"
#include "platform/ui/mouse_keys.h"
#include "platform/ui/mouse_pointer.h"
#include "platform/ui/twips.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

template <class Widget>
Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

void showFinding(const char* text)
{
    frmFinding& finding = ui::FormInstance<frmFinding>::get();
    finding.Label1->setText(QString::fromUtf8(text));
    finding.show();
}

} // namespace

char SeparatorInServerName(std::string_view name)
{
    const std::size_t at = name.find_first_of("/\\|=");
    return at == std::string_view::npos ? '\0' : name[at];
}

frmConnecting::frmConnecting()
{
    setObjectName(QStringLiteral("frmConnecting"));
    setWindowTitle(QStringLiteral("Connect to SharePoint..."));
    setFixedWidth(ui::TwipsToPixels(6000));

    Frame1 = named(new QFrame(this), "Frame1");
    Frame1->setFrameShape(QFrame::StyledPanel);
    Label2 = named(new QLabel(QStringLiteral("Please specify the name of the sharepoint portal server in which you have "
                                             "necessary permissions."),
                              Frame1),
                   "Label2");
    Label2->setWordWrap(true);
    Label4 = named(new QLabel(QStringLiteral("sharepoint server name:"), Frame1), "Label4");
    txtURL = named(new QLineEdit(Frame1), "txtURL");
    Label3 = named(new QLabel(QStringLiteral("current user:"), Frame1), "Label3");
    lbluser = named(new QLabel(Frame1), "lbluser");
    CmdOk = named(new QPushButton(QStringLiteral("&Ok"), this), "CmdOk");
    CmdCancel = named(new QPushButton(QStringLiteral("&Cancel"), this), "CmdCancel");
    // Enter in the name box is OK through the box's own key handling, which
    // keeps it from the default button as well.
    CmdOk->setDefault(true);

    auto* fields = new QGridLayout(Frame1);
    fields->addWidget(Label2, 0, 0, 1, 2);
    fields->addWidget(Label4, 1, 0);
    fields->addWidget(txtURL, 1, 1);
    fields->addWidget(Label3, 2, 0);
    fields->addWidget(lbluser, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CmdOk);
    buttons->addWidget(CmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addLayout(buttons);

    connect(CmdOk, &QPushButton::clicked, this, &frmConnecting::CmdOk_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &frmConnecting::CmdCancel_Click);
    txtURL->installEventFilter(this);
    Form_Load();
}

void frmConnecting::Form_Load() { lbluser->setText(QString::fromStdString(sys::CurrentUser())); }

void frmConnecting::showEvent(QShowEvent* event)
{
    servesSource_ = gIsSourceConnection;
    QDialog::showEvent(event);
}

void frmConnecting::reject() { ui::FormInstance<frmConnecting>::unloadSelf(); }

bool frmConnecting::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != txtURL || event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    const int keyAscii = ui::KeyAscii(*static_cast<QKeyEvent*>(event));
    if (keyAscii != ui::vbKeyEscape && keyAscii != ui::vbKeyReturn) return false;
    txtURL_KeyPress(keyAscii);
    return true;
}

void frmConnecting::txtURL_KeyPress(int keyAscii)
{
    ErrorTrap trap("in frmconnecting-txtURL_KeyPress");
    if (keyAscii == ui::vbKeyEscape) trap.step([] { ui::FormInstance<frmConnecting>::unloadSelf(); });
    if (keyAscii == ui::vbKeyReturn) trap.step([&] { fnOk_Click(); });
}

void frmConnecting::CmdOk_Click()
{
    ErrorTrap trap("in frmconnecting-CmdOk_Click");
    trap.step([&] { fnOk_Click(); });
}

void frmConnecting::CmdCancel_Click() { ui::FormInstance<frmConnecting>::unloadSelf(); }

// A run goes on with the servers it started with: a dialog left open meanwhile
// connects nothing.
void frmConnecting::fnOk_Click()
{
    if (RunGuard::active()) return;
    ErrorTrap trap("in frmconnecting-fnOk_Click");
    const std::string typed = txtURL->text().toStdString();
    if (IsBlank(typed)) {
        ui::SetMousePointer(ui::vbDefault);
        ui::MsgBox("Specify the server name to be connected", ui::vbExclamation);
        txtURL->clear();
        txtURL->setFocus();
        return;
    }
    if (const char separator = SeparatorInServerName(typed)) {
        ui::SetMousePointer(ui::vbDefault);
        ui::MsgBox(std::string("The server name cannot contain \"") + separator + "\".", ui::vbExclamation);
        txtURL->setFocus();
        return;
    }
    if (servesSource_) connectSource(Trim(typed), trap);
    else connectDestination(Trim(typed), trap);
    trap.step([] { ui::FormInstance<frmFinding>::unload(); });
}

// The Refresh command goes on before the listing, so that a listing that
// cannot connect takes it back.
void frmConnecting::connectSource(const std::string& server, ErrorTrap& trap)
{
    trap.step([&] { gSourceServerName = server; });
    trap.step([&] { MainWindow().setTxtTop("http://" + gSourceServerName); });
    trap.step([] { ui::FormInstance<frmConnecting>::unloadSelf(); });
    trap.step(ui::DoEvents);
    trap.step([] {
        showFinding("Detecting source sharepoint portal server and searching for the available workspaces...");
    });
    trap.step(ui::DoEvents);
    trap.step([] { MainWindow().setRefreshSourceEnabled(true); });
    trap.step([] { MainWindow().DisplaySourceWorkspaces(gSourceServerName); });
}

void frmConnecting::connectDestination(const std::string& server, ErrorTrap& trap)
{
    trap.step([&] { gDestServerName = server; });
    trap.step([] { ui::FormInstance<frmConnecting>::unloadSelf(); });
    trap.step(ui::DoEvents);
    trap.step([] {
        showFinding("Detecting destination sharepoint portal server and searching for the available workspaces...");
    });
    trap.step(ui::DoEvents);
    trap.step([] { MainWindow().setTxtBottom("http://" + gDestServerName); });
    trap.step([] { MainWindow().setRefreshDestEnabled(true); });
    trap.step([] { MainWindow().DisplayDestWorkspaces(gDestServerName); });
}
