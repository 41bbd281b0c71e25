#include "platform/ui/form_instance.h"

#include <QCoreApplication>
#include <QEvent>

#include <algorithm>
#include <vector>

namespace ui {

namespace {

std::vector<void (*)()>& formClasses()
{
    static std::vector<void (*)()> classes;
    return classes;
}

} // namespace

void detail::RegisterFormClass(void (*unloadSelf)())
{
    auto& classes = formClasses();
    if (std::find(classes.begin(), classes.end(), unloadSelf) == classes.end()) classes.push_back(unloadSelf);
}

void UnloadAllForms()
{
    // A form's own unloading may register further classes: walk by index.
    for (std::size_t i = 0; i < formClasses().size(); ++i) formClasses()[i]();
}

void DeleteUnloadedForms()
{
    if (QCoreApplication::instance()) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace ui
