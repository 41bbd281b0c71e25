#include "fake_forms.h"

#include "app/core/error_trap.h"
#include "app/engine/role_mapping_table.h"
#include "app/engine/workspace_titles.h"

namespace engine_testing {

void FakeImportingForm::load()
{
    if (loaded) return;
    loaded = true;
    ++loads;
    value = 0;
    lblStatus = "Preparing to copy...";
    lblPercentage = "0 % Completed...";
}

void FakeImportingForm::show()
{
    load();
    visible = true;
    ++shows;
}

void FakeImportingForm::unload()
{
    if (!loaded) return;
    loaded = visible = false;
    ++unloads;
}

void FakeImportingForm::write(std::string& label, std::vector<std::string>* history, const std::string& text)
{
    load();
    label = text;
    if (history) history->push_back(text);
}

float FakeImportingForm::progressBar1Value()
{
    load();
    return value;
}

void FakeImportingForm::setProgressBar1Value(float newValue)
{
    load();
    value = newValue;
    values.push_back(newValue);
}

float FakeImportingForm::progressBar1Max()
{
    load();
    return max;
}

RoleMapping FakeRoleMappingForm::AddDefaultSettings()
{
    ++calls;
    ErrorTrap trap("in AddDefaultSettings");
    return ReadRoleMapping(trap);
}

std::string FakeMainWindow::FindDocumentsFolderTitle(const std::string& server)
{
    return WorkspaceFolderTitle(server, kDocumentsFolderField, "in MainGUI-FindDocumentsFolderTitle");
}

std::string FakeMainWindow::FindCategoriesFolderTitle(const std::string& server)
{
    return WorkspaceFolderTitle(server, kCategoriesFolderField, "in MainGUI-FindCategoriesFolderTitle");
}

} // namespace engine_testing
