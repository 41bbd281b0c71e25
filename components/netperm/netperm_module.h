#pragma once
// The module object of the share and permission component: its three
// creatable classes, its live objects and its registration script.

#include "platform/com/module.h"

#include <string>

namespace netperm {

com::Module& TheModule();

// The registration script (see platform/com/registrar.h).
const std::string& RegistrationScript();

} // namespace netperm
