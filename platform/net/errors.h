#pragma once
// Windows error codes the network layer reports (as ComError numbers through
// com::HResultFromWin32, and as plain codes to the registry layer).

namespace net {

inline constexpr long ERROR_FILE_NOT_FOUND = 2;
inline constexpr long ERROR_PATH_NOT_FOUND = 3;
inline constexpr long ERROR_ACCESS_DENIED = 5;
inline constexpr long ERROR_DISK_FULL = 112;
inline constexpr long ERROR_BAD_NETPATH = 53;          // no such host, or host unreachable
inline constexpr long ERROR_BAD_NET_NAME = 67;         // no such share on the host
inline constexpr long ERROR_INVALID_NAME = 123;        // an unsafe or malformed name, or a link
inline constexpr long ERROR_FILENAME_EXCED_RANGE = 206; // a name longer than the file system holds
inline constexpr long ERROR_CANT_RESOLVE_FILENAME = 1921; // links that lead round in a circle

} // namespace net
