#include "app/core/startup.h"
#include "app/dialogs/installed_forms.h"
#include "app/mainwindow/frm_main_gui.h"
#include "platform/ui/form_instance.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    InstallDialogForms();
    Main([] { ui::FormInstance<FrmMainGUI>::get().show(); });
    const int status = application.exec();
    // The main window has unloaded every form; delete what still waits.
    ui::UnloadAllForms();
    ui::DeleteUnloadedForms();
    return status;
}
