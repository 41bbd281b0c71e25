#pragma once
// The module object of the share and permission component: its three
// creatable classes, its live objects and its registration script.

#include "platform/com/module.h"

namespace netperm {

com::Module& TheModule();

// The registration script (see platform/com/registrar.h).
extern const char* const RegistrationScript;

} // namespace netperm
