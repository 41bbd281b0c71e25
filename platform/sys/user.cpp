#include "platform/sys/user.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace sys {

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string loginName()
{
    if (const passwd* entry = getpwuid(geteuid()); entry && entry->pw_name) return entry->pw_name;
    if (auto user = environment("USER"); !user.empty()) return user;
    return environment("LOGNAME");
}

} // namespace

std::string CurrentUser()
{
    const std::string domain = environment("USERDOMAIN");
    const std::string user = environment("USERNAME");
    if (domain.empty() || user.empty()) return loginName();
    return domain + "\\" + user;
}

} // namespace sys
