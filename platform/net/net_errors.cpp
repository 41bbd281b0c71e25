#include "platform/net/net_errors.h"

#include <map>

namespace net {

std::string NetworkErrorText(long code)
{
    static const std::map<long, std::string> texts = {
        {ERROR_SERVICE_DOES_NOT_EXIST, "The specified service does not exist as an installed service."},
        {ERROR_SESSION_CREDENTIAL_CONFLICT,
         "Multiple connections to a server or shared resource by the same user, using more than one user name, are "
         "not allowed. Disconnect all previous connections to the server or shared resource and try again."},
        {ERROR_CANCELLED, "The operation was canceled by the user."},
        {ERROR_LOGON_FAILURE, "Logon failure: unknown user name or bad password."},
        {ERROR_NONE_MAPPED, "No mapping between account names and security IDs was done."},
        {ERROR_NO_SUCH_ALIAS, "The specified local group does not exist."},
        {NERR_GroupNotFound, "The group name could not be found."},
        {NERR_UserNotFound, "The user name could not be found."},
        {ERROR_NOT_CONNECTED, "This network connection does not exist."},
        {NERR_NetNameNotFound, "This shared resource does not exist."},
        {NERR_InvalidComputer, "The computer name is invalid."},
        {ERROR_NO_BROWSER_SERVERS_FOUND, "The list of servers for this workgroup is not currently available"},
        {WSAHOST_NOT_FOUND, "No such host is known."},
    };
    const auto text = texts.find(code);
    if (text != texts.end()) return text->second;
    return com::HResultText(com::HResultFromWin32(std::uint32_t(code)));
}

void FailWithCode(long code, const std::string& detail)
{
    std::string description = NetworkErrorText(code);
    if (!detail.empty()) description += ": " + detail;
    throw com::ComError(com::HResultFromWin32(std::uint32_t(code)), description);
}

long ErrorCodeOf(const com::ComError& error)
{
    const auto bits = static_cast<std::uint32_t>(error.number());
    return (bits & 0xFFFF0000u) == 0x80070000u ? long(bits & 0xFFFFu) : 0;
}

} // namespace net
