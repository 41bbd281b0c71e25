#include "app/engine/import_progress.h"

#include "app/core/error_trap.h"
#include "app/core/forms.h"
#include "app/core/shared_state.h"
#include "platform/ui/do_events.h"

#include <cmath>

float AdvancedProgressValue(float value, double step, float max)
{
    const float sum = static_cast<float>(double(value) + step);
    return max >= sum ? sum : max;
}

std::string PercentageText(float value, std::string_view suffix)
{
    return std::to_string(static_cast<long long>(std::nearbyint(value))) + std::string(suffix);
}

void UpdateImportProgress()
{
    ErrorTrap trap("in UpdateImportProgress");
    trap.step([] {
        ImportingForm& dialog = ImportingDialog();
        dialog.setProgressBar1Value(
            AdvancedProgressValue(dialog.progressBar1Value(), gProgressStep, dialog.progressBar1Max()));
    });
    trap.step([] { ui::DoEvents(); });
}

void InitImportProgess()
{
    ErrorTrap trap("in InitImportProgess");
    trap.step([] { ImportingDialog().setProgressBar1Value(0); });
    trap.step([] { ImportingDialog().setLblStatus("Preparing to copy..."); });
}
