#pragma once
// Component modules loaded into the process. Each path is loaded once and
// stays loaded: objects and class factories handed out keep pointing into it.

#include "platform/com/module.h"

#include <string>

namespace com {

struct ModuleEntryPoints {
    DllGetClassObjectFunction getClassObject = nullptr;
    DllCanUnloadNowFunction canUnloadNow = nullptr;
    DllRegisterServerFunction registerServer = nullptr;
    DllUnregisterServerFunction unregisterServer = nullptr;
};

// Loads the module at path (or finds it loaded) and looks up its entry
// points; a missing one stays null. Throws ComError(CO_E_DLLNOTFOUND) when
// the file cannot be loaded, with the loader's reason in the text.
const ModuleEntryPoints& LoadModule(const std::string& path);

} // namespace com
