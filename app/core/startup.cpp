#include "app/core/startup.h"

#include "app/core/error_log.h"
#include "app/core/error_trap.h"
#include "app/core/settings_database.h"
#include "app/core/splash.h"
#include "platform/sys/single_instance.h"
#include "platform/ui/do_events.h"
#include "platform/ui/form_instance.h"
#include "platform/ui/message_box.h"

#include <cstdio>
#include <cstdlib>

void EndProgram()
{
    std::fflush(nullptr);
    std::_Exit(0);
}

void RunSplashDelay()
{
    // volatile: the loop is the point, so the compiler must not drop it.
    volatile double counter = 0.0;
    while (counter <= 4000000.0) counter = counter + 1.0;
}

void Main(const std::function<void()>& showMainWindow)
{
    ErrorTrap trap(" in Main");
    trap.onAnyOther().log().then([] {
        ui::MsgBox("System is not configured properly.", ui::vbExclamation);
        EndProgram();
    });

    if (sys::PreviousInstanceRunning()) {
        ui::MsgBox("Application is already opened.", ui::vbExclamation);
        EndProgram();
    }
    trap.step([] { ui::FormInstance<frmSplash>::get().show(); });
    trap.step(ui::DoEvents);
    CreateDatabase();
    CreateLogFolderandFile();
    trap.step(RunSplashDelay);
    trap.step(ui::DoEvents);
    trap.step(showMainWindow);
    trap.step(ui::FormInstance<frmSplash>::unload);
    trap.step(ui::DoEvents);
}
