#pragma once
// The shares of a host and the files they show. shares.ini in the host's
// folder holds one section per share:
//
//   [Public]
//   type = disk                 (or: print)
//   path = C:\Shares\Public     a disk share's folder, on a drive of the host
//   remark = Files for everyone
//
// Every host also has its administrative shares: "C$" and the like for each
// drive folder it has (drives/C), and "IPC$". A drive path "C:\dir" names
// hosts/HOST/drives/C/dir.

#include "platform/net/network.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace net {

inline constexpr std::uint32_t STYPE_DISKTREE = 0;
inline constexpr std::uint32_t STYPE_PRINTQ = 1;
inline constexpr std::uint32_t STYPE_IPC = 3;
inline constexpr std::uint32_t STYPE_SPECIAL = 0x80000000;

struct ShareInfo {
    std::string name;
    std::uint32_t type = STYPE_DISKTREE;
    std::string remark;
    std::string path; // a disk share's drive path
};

// A path on a drive of a host: "C:\dir\file".
struct DrivePath {
    char drive = 'C';
    std::vector<std::string> segments;

    std::string text() const; // "C:\" for the drive itself
};

// "C:\dir" or "c:/dir" (upper-cased drive); nullopt for anything else.
std::optional<DrivePath> ParseDrivePath(std::string_view text);

// The share names ending in "$", which network browsing does not show.
bool IsHiddenShare(std::string_view name);

// shares.ini's shares in file order, then the drive shares, then IPC$.
std::vector<ShareInfo> Shares(const HostInfo& host);
std::optional<ShareInfo> FindShare(const HostInfo& host, std::string_view name);
// Adds or replaces a share of shares.ini and creates a disk share's folder.
// Throws ComError(E_INVALIDARG) for a name a share cannot have (the
// administrative names included) or a disk share without a drive path.
void SaveShare(const HostInfo& host, const ShareInfo& share);

// The folder a disk share shows, opened. Throws ComError(ERROR_BAD_NET_NAME)
// when the host has no such disk share or its folder is missing.
Folder ShareFolder(const HostInfo& host, std::string_view share);
// The folder a drive path names, opened; nullopt when it is missing.
// CreateDriveFolder makes what is missing.
std::optional<Folder> OpenDriveFolder(const HostInfo& host, const DrivePath& path);
Folder CreateDriveFolder(const HostInfo& host, const DrivePath& path);
// The path of that folder (it need not exist), each name that exists in its
// stored case, for callers that hold paths; opening it goes through the
// network's folders again (OpenNetworkFolder).
fs::path DriveFolder(const HostInfo& host, const DrivePath& path);

// A file or folder named by "\\HOST\SHARE\dir\file", or by "C:\dir\file" on
// the local host: the host and its drive path.
struct FileLocation {
    HostInfo host;
    DrivePath drivePath;
};
// Errors as ResolveUnc; a local path on a network without a local host gives
// ERROR_BAD_NETPATH, any other text ERROR_INVALID_NAME.
FileLocation LocateFile(std::string_view path);
// Whether the location names a file or folder (not a link, not a special
// file).
bool IsFileOrFolder(const FileLocation& location);

// A file or folder of a folder.
struct FolderEntry {
    std::string name;
    bool folder = false;
    std::uint64_t size = 0;
    std::time_t lastWrite = 0;
};

// The files and folders in the folder a path names (as LocateFile), by name
// without regard to case; links and special files are left out. Errors as
// LocateFile, ERROR_PATH_NOT_FOUND when it names no folder.
std::vector<FolderEntry> ListFolder(std::string_view path);

// What network browsing shows inside a container: for "\\SERVER", the
// server's disk and print shares that are not hidden, as "\\SERVER\NAME".
// Errors as ReachableHost.
struct NetResource {
    std::string remoteName;
    bool container = false;
};
std::vector<NetResource> EnumerateResources(std::string_view container);

} // namespace net
