#pragma once
// The Windows error codes of the network layer (its files and names, its
// browsing, account, security and connection calls), their system texts, and
// the ComError that carries one.

#include "platform/com/hresult.h"

#include <string>

namespace net {

inline constexpr long ERROR_FILE_NOT_FOUND = 2;
inline constexpr long ERROR_PATH_NOT_FOUND = 3;
inline constexpr long ERROR_ACCESS_DENIED = 5;
inline constexpr long ERROR_BAD_NETPATH = 53;            // no such host, or host unreachable
inline constexpr long ERROR_BAD_NET_NAME = 67;           // no such share on the host
inline constexpr long ERROR_INVALID_PARAMETER = 87;
inline constexpr long ERROR_DISK_FULL = 112;
inline constexpr long ERROR_INVALID_NAME = 123;          // an unsafe or malformed name, or a link
inline constexpr long ERROR_FILENAME_EXCED_RANGE = 206;  // a name longer than the file system holds
inline constexpr long ERROR_MORE_DATA = 234;
inline constexpr long ERROR_SERVICE_DOES_NOT_EXIST = 1060;
inline constexpr long ERROR_SESSION_CREDENTIAL_CONFLICT = 1219;
inline constexpr long ERROR_CANCELLED = 1223;
inline constexpr long ERROR_LOGON_FAILURE = 1326;
inline constexpr long ERROR_NONE_MAPPED = 1332;
inline constexpr long ERROR_NO_SUCH_ALIAS = 1376;
inline constexpr long ERROR_CANT_RESOLVE_FILENAME = 1921; // links that lead round in a circle
inline constexpr long NERR_GroupNotFound = 2220;
inline constexpr long NERR_UserNotFound = 2221;
inline constexpr long ERROR_NOT_CONNECTED = 2250;
inline constexpr long NERR_NetNameNotFound = 2310;
inline constexpr long NERR_InvalidComputer = 2351;
inline constexpr long ERROR_NO_BROWSER_SERVERS_FOUND = 6118;
inline constexpr long WSAHOST_NOT_FOUND = 11001;

// The system's text for a code; empty for a code it has no text for.
std::string NetworkErrorText(long code);

// Throws ComError(HResultFromWin32(code)) with the code's text, followed by
// ": " and detail when detail is given.
[[noreturn]] void FailWithCode(long code, const std::string& detail = {});

// The Windows code a ComError of the network layer carries; 0 for an error of
// another kind.
long ErrorCodeOf(const com::ComError& error);

} // namespace net
