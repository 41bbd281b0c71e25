#include "app/dialogs/frm_importing.h"

#include "app/core/error_trap.h"
#include "app/core/shared_state.h"
#include "app/dialogs/form_controls.h"
#include "app/dialogs/wait_pointer.h"
#include "app/engine/import_progress.h"
#include "platform/sys/datetime.h"
#include "platform/sys/program_folder.h"
#include "platform/ui/animation.h"
#include "platform/ui/centred.h"
#include "platform/ui/do_events.h"
#include "platform/ui/form_instance.h"
#include "platform/ui/mouse_pointer.h"
#include "platform/ui/progress_bar.h"
#include "platform/ui/twips.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using Instance = ui::FormInstance<frmImporting>;

QString qt(const std::string& text) { return QString::fromStdString(text); }

} // namespace

frmImporting::frmImporting() : QWidget(nullptr, Qt::Dialog)
{
    setObjectName(QStringLiteral("frmImporting"));
    setWindowTitle(QStringLiteral("Importing..."));
    setFixedWidth(ui::TwipsToPixels(6600));

    anmavi = MakeControl<ui::Animation>(this, "anmavi");
    lblSource = MakeControl<QLabel>(this, "lblSource");
    lblDest = MakeControl<QLabel>(this, "lblDest");
    lblStatus = MakeControl<QLabel>(this, "lblStatus");
    lblStatus->setWordWrap(true);
    lblStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblStatus->setMinimumHeight(ui::TwipsToPixels(720));
    ProgressBar1 = MakeControl<ui::ProgressBar>(this, "ProgressBar1");
    ProgressBar1->setMin(0);
    ProgressBar1->setMax(100);
    cmdCancel = MakeControl<QPushButton>(this, "cmdCancel", QStringLiteral("Cancel"));
    cmdCancel->setToolTip(QStringLiteral("Cancel the import of documents into SharePoint Portal Server."));
    lblPercentage = MakeControl<QLabel>(this, "lblPercentage");
    lblTime = MakeControl<QLabel>(this, "lblTime", QStringLiteral("Import started:"));
    lblDateTime = MakeControl<QLabel>(this, "lblDateTime");

    auto* bar = new QHBoxLayout;
    bar->addWidget(ProgressBar1, 1);
    bar->addWidget(cmdCancel);
    auto* below = new QHBoxLayout;
    below->addWidget(lblPercentage);
    below->addStretch();
    below->addWidget(lblTime);
    below->addWidget(lblDateTime);
    auto* form = new QVBoxLayout(this);
    form->addWidget(anmavi, 0, Qt::AlignHCenter);
    form->addWidget(lblSource);
    form->addWidget(lblDest);
    form->addWidget(lblStatus);
    form->addLayout(bar);
    form->addLayout(below);

    // The hourglass over the form, the arrow over Cancel.
    new WaitPointer(*this, *cmdCancel, {lblStatus, ProgressBar1}, true);
    connect(cmdCancel, &QPushButton::clicked, this, &frmImporting::CmdCancel_Click);
}

void frmImporting::formLoaded() { Form_Load(); }

void frmImporting::Form_Load()
{
    ErrorTrap trap("in frmImporting -Load");
    trap.step([] { ui::SetMousePointer(ui::vbHourglass); });
    trap.step([this] { lblDateTime->setText(qt(sys::GeneralDateText(sys::Now()))); });
    trap.step([this] { lblPercentage->setText(qt(PercentageText(ProgressBar1->Value(), kCompletedSuffix))); });
    trap.step([this] {
        lblStatus->clear();
        ProgressBar1->setValue(0);
    });
    trap.step([] { InitImportProgess(); });
    trap.step([this] {
        anmavi->Open(sys::ProgramFolder() / "importing.avi");
        anmavi->Play();
    });
}

void frmImporting::formUnloading()
{
    anmavi->Close();
    ui::SetMousePointer(ui::vbDefault);
}

void frmImporting::CmdCancel_Click()
{
    ErrorTrap trap("in frmImportings - CmdCancel_Click");
    gCancelImport = true;
    trap.step([] { Instance::unloadSelf(); });
    trap.step([] { ui::SetMousePointer(ui::vbDefault); });
    trap.step([] { ui::DoEvents(); });
}

void frmImporting::showEvent(QShowEvent* event)
{
    ui::CentreOverMainWindow(*this);
    QWidget::showEvent(event);
}

// Closing the dialog by its title bar cancels, as its Cancel does.
void frmImporting::closeEvent(QCloseEvent* event)
{
    event->ignore();
    CmdCancel_Click();
}

// --- ImportingDialogView ------------------------------------------------------

void ImportingDialogView::show() { Instance::get().show(); }
void ImportingDialogView::unload() { Instance::unload(); }
void ImportingDialogView::setCaption(const std::string& text) { Instance::get().setWindowTitle(qt(text)); }
void ImportingDialogView::setLblStatus(const std::string& text) { Instance::get().lblStatus->setText(qt(text)); }
void ImportingDialogView::setLblSource(const std::string& text) { Instance::get().lblSource->setText(qt(text)); }
void ImportingDialogView::setLblDest(const std::string& text) { Instance::get().lblDest->setText(qt(text)); }
void ImportingDialogView::setLblPercentage(const std::string& text) { Instance::get().lblPercentage->setText(qt(text)); }
float ImportingDialogView::progressBar1Value() { return Instance::get().ProgressBar1->Value(); }
void ImportingDialogView::setProgressBar1Value(float value) { Instance::get().ProgressBar1->setValue(value); }
float ImportingDialogView::progressBar1Max() { return Instance::get().ProgressBar1->Max(); }
