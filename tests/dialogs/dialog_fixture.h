#pragma once
// A test of the dialogs: the engine tests' network, program folder and fake
// main window, with the real progress dialog and role mapping installed in
// place of the engine's fakes and modal dialogs answered by scripts.

#include "engine/engine_fixture.h"

#include "app/dialogs/installed_forms.h"
#include "platform/ui/form_instance.h"
#include "platform/ui/modal_dialog.h"
#include "support/qt_application.h"

#include <QDialog>
#include <QWidget>

#include <string>
#include <vector>

namespace dialog_testing {

using TableRows = std::vector<std::vector<std::string>>;

// Every row of a settings table, each as its fields' texts.
TableRows ReadTable(const std::string& table);
// Makes the settings database refuse new rows in the table, as a read-only
// file would: a rewrite then fails after it has deleted the old rows.
void RefuseNewRows(const std::string& table);

// The named child control of a form.
template <class Control>
Control& Child(QWidget& form, const char* name)
{
    auto* control = form.findChild<Control*>(QString::fromLatin1(name));
    if (!control) throw std::logic_error(std::string("no control ") + name);
    return *control;
}

class DialogTest : public engine_testing::EngineTest {
protected:
    DialogTest()
    {
        testing_support::EnsureQtApplication();
        InstallDialogForms();
        InstallAnimation();
    }
    ~DialogTest() override
    {
        ui::UnloadAllForms();
        ui::DeleteUnloadedForms();
    }

    // Puts the progress dialog's clip, as the build made it, into the
    // program folder.
    void InstallAnimation() const;

    ui::ScriptedDialogs dialogs;
};

} // namespace dialog_testing
