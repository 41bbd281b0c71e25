#pragma once
// The security descriptors of shares, files and folders: each one's
// discretionary access-control list (DACL), kept in acl.txt of the host's
// folder, one line per entry:
//
//   share Public: allow 0x001200A9 S-1-1-0
//   share Public: deny 0x001F01FF S-1-5-21-...-1001
//   file C:\Shares\Public\plan.doc: empty
//
// An object without a line has no DACL at all (everyone may do everything);
// "empty" gives it a DACL without entries (no one may do anything). Files and
// folders are named by their drive path, whichever share they are reached by.

#include "platform/net/network.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace net {

enum class AceType : std::uint8_t { Allow = 0, Deny = 1 };

struct Ace {
    AceType type = AceType::Allow;
    std::uint32_t mask = 0;
    std::string sid;
};

struct SecurityDescriptor {
    std::optional<std::vector<Ace>> dacl; // nullopt: no DACL
};

// The DACL of "\\SERVER\SHARE": errors as ReachableHost, NERR_NetNameNotFound
// for a share the host does not have.
SecurityDescriptor ReadShareSecurity(std::string_view sharePath);
void WriteShareSecurity(std::string_view sharePath, const SecurityDescriptor& security);

// The DACL of a file or folder, "\\HOST\SHARE\..." or "C:\..." of the local
// host: errors as LocateFile, ERROR_FILE_NOT_FOUND when it does not exist.
SecurityDescriptor ReadFileSecurity(std::string_view path);
void WriteFileSecurity(std::string_view path, const SecurityDescriptor& security);

// Every object of the host that acl.txt gives a DACL, in file order: kind
// "share" or "file", and the share name or drive path.
struct SecuredObject {
    std::string kind;
    std::string name;
    SecurityDescriptor security;
};
std::vector<SecuredObject> SecuredObjects(const HostInfo& host);

} // namespace net
