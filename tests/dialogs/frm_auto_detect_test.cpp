// The discovery wait form's pointer, which follows the mouse only once Cancel
// is marked. (Cancel and the title bar are tested with discovery itself.)

#include "app/dialogs/frm_auto_detect.h"
#include "core/core_fixture.h"
#include "platform/ui/animation.h"
#include "platform/ui/form_instance.h"
#include "platform/ui/mouse_pointer.h"

#include <QEnterEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

using AutoDetect = ui::FormInstance<frmAutoDetect>;

TEST_F(CoreTest, TheDiscoveryWaitFormsPointerFollowsTheMouseOnlyWhileCancelIsMarked)
{
    frmAutoDetect& form = AutoDetect::get();
    form.show();
    EXPECT_EQ(form.Label1->text(), "Connecting to the server. This may take some time...");
    for (bool marked : {false, true}) {
        form.setCancelMarked(marked);
        for (QWidget* over : std::initializer_list<QWidget*>{&form, form.Label1, form.Animation1, form.cmdCancel}) {
            const int wanted = over == form.cmdCancel ? ui::vbDefault : ui::vbHourglass;
            const int other = wanted == ui::vbDefault ? ui::vbHourglass : ui::vbDefault;
            ui::SetMousePointer(other);
            QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
            QCoreApplication::sendEvent(over, &enter);
            QTest::mouseMove(over);
            EXPECT_EQ(ui::MousePointer(), marked ? wanted : other) << marked << " " << over->objectName().toStdString();
        }
    }
    AutoDetect::unload();
    ui::SetMousePointer(ui::vbDefault);
}

} // namespace
