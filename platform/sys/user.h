#pragma once
// The logged-on user as the rest of the system names it.

#include <string>

namespace sys {

// "USERDOMAIN\USERNAME" from the environment; when either is unset, the login
// name alone.
std::string CurrentUser();

} // namespace sys
