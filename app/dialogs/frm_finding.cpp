#include "app/dialogs/frm_finding.h"

#include "app/core/error_trap.h"
#include "platform/sys/program_folder.h"
#include "platform/ui/animation.h"
#include "platform/ui/centred.h"
#include "platform/ui/twips.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

frmFinding::frmFinding()
{
    setObjectName(QStringLiteral("frmFinding"));
    setWindowTitle(QStringLiteral("Connecting..."));
    setFixedSize(ui::TwipsToPixels(5400), ui::TwipsToPixels(2400));

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    Label1 = new QLabel(Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    AnmSearch = new ui::Animation(Frame1);
    AnmSearch->setObjectName(QStringLiteral("AnmSearch"));

    auto* inFrame = new QVBoxLayout(Frame1);
    inFrame->addWidget(AnmSearch, 1);
    inFrame->addWidget(Label1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    Form_Load();
}

void frmFinding::reject() {}

void frmFinding::showEvent(QShowEvent* event)
{
    ui::CentreOverMainWindow(*this);
    QDialog::showEvent(event);
}

// A clip that cannot be played leaves the form without animation.
void frmFinding::Form_Load()
{
    ErrorTrap trap("in frmFinding - Load");
    trap.step([&] { AnmSearch->Open(sys::ProgramFolder() / "findingsp.avi"); });
    trap.step([&] { AnmSearch->Play(); });
}
