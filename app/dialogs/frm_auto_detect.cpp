#include "app/dialogs/frm_auto_detect.h"

#include "app/core/shared_state.h"
#include "app/dialogs/form_controls.h"
#include "app/dialogs/wait_pointer.h"
#include "platform/ui/animation.h"
#include "platform/ui/centred.h"
#include "platform/ui/placement.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

using ui::Placed;

frmAutoDetect::frmAutoDetect() : QWidget(nullptr, Qt::Dialog)
{
    setObjectName(QStringLiteral("frmAutoDetect"));
    setWindowTitle(QStringLiteral("Please wait..."));
    Placed(*this).setWidth(5400).setHeight(2500);
    setFixedSize(size());

    Animation1 = MakeControl<ui::Animation>(this, "Animation1");
    Placed(*Animation1).setLeft(120).setTop(120).setWidth(2000).setHeight(900);
    Label1 = MakeControl<QLabel>(this, "Label1", QStringLiteral("Connecting to the server. This may take some time..."));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Placed(*Label1).setLeft(240).setTop(1140).setWidth(4920).setHeight(600);
    cmdCancel = MakeControl<QPushButton>(this, "cmdCancel", QStringLiteral("Cancel"));
    Placed(*cmdCancel).setLeft(3960).setTop(1860).setWidth(1200).setHeight(375);

    pointer_ = new WaitPointer(*this, *cmdCancel, {Label1, Animation1}, false);
    connect(cmdCancel, &QPushButton::clicked, this, &frmAutoDetect::cmdCancel_Click);
}

bool frmAutoDetect::cancelMarked() const { return pointer_->isOn(); }

void frmAutoDetect::setCancelMarked(bool marked) { pointer_->setOn(marked); }

void frmAutoDetect::cmdCancel_Click() { gCancelAutoDetect = true; }

void frmAutoDetect::showEvent(QShowEvent* event)
{
    ui::CentreOverMainWindow(*this);
    QWidget::showEvent(event);
}

// Closing the form by its title bar cancels, as Cancel does; the form stays
// until discovery notices.
void frmAutoDetect::closeEvent(QCloseEvent* event)
{
    event->ignore();
    cmdCancel_Click();
}
