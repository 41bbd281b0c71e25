#pragma once
// The module object of the registry component: its one creatable class, its
// live objects and its registration script.

#include "platform/com/module.h"

namespace vornik {

com::Module& TheModule();

// The registration script (see platform/com/registrar.h).
extern const char* const RegistrationScript;

} // namespace vornik
