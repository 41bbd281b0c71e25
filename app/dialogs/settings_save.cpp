#include "app/dialogs/settings_save.h"

#include "app/core/error_trap.h"
#include "platform/ui/message_box.h"

bool SaveSettingsTable(const std::string& tag, const std::string& table, const std::vector<SettingsRow>& rows,
                       const std::string& failureMessage)
{
    bool saved = true;
    {
        ErrorTrap trap(tag);
        trap.onAnyOther().log().then([&] { saved = false; }).leave();
        RewriteSettingsTable(trap, table, rows);
    }
    if (!saved) ui::MsgBox(failureMessage, ui::vbExclamation);
    return saved;
}
