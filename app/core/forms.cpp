#include "app/core/forms.h"

#include <stdexcept>

namespace {

ImportingForm* importingForm = nullptr;
RoleMappingForm* roleMappingForm = nullptr;
MainWindowForm* mainWindowForm = nullptr;

template <class Form>
Form& Installed(Form* form, const char* name)
{
    if (!form) throw std::logic_error(std::string("The form ") + name + " is not installed.");
    return *form;
}

} // namespace

void InstallImportingForm(ImportingForm* form) { importingForm = form; }
void InstallRoleMappingForm(RoleMappingForm* form) { roleMappingForm = form; }
void InstallMainWindowForm(MainWindowForm* form) { mainWindowForm = form; }

ImportingForm& ImportingDialog() { return Installed(importingForm, "frmImporting"); }
RoleMappingForm& RoleMappingDialog() { return Installed(roleMappingForm, "frmPermissions"); }
MainWindowForm& MainWindow() { return Installed(mainWindowForm, "FrmMainGUI"); }
