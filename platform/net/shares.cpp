#include "platform/net/shares.h"

#include "platform/net/case_fold.h"
#include "platform/net/data_files.h"
#include "platform/net/net_errors.h"
#include "platform/net/servers.h"

#include <algorithm>
#include <cctype>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace net {

namespace {

const char kSharesFile[] = "shares.ini";
constexpr std::size_t kMaxShareName = 80;

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool isDriveLetter(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

char upper(char c)
{
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

// "C$" and the like: the share of a whole drive.
bool isDriveShare(std::string_view name)
{
    return name.size() == 2 && isDriveLetter(name[0]) && name[1] == '$';
}

bool isAdministrativeShare(std::string_view name)
{
    return isDriveShare(name) || EqualsIgnoringCase(name, "IPC$") || EqualsIgnoringCase(name, "ADMIN$");
}

bool isValidShareName(std::string_view name)
{
    return IsSafeName(name) && name.size() <= kMaxShareName && name.front() != ' ' && name.back() != ' '
        && name.find_first_of("\"[]:|<>+;,?*=") == std::string_view::npos;
}

std::uint32_t parseShareType(std::string_view text)
{
    return EqualsIgnoringCase(text, "print") ? STYPE_PRINTQ : STYPE_DISKTREE;
}

[[noreturn]] void invalidShare(const std::string& why)
{
    throw com::ComError(com::E_INVALIDARG, why);
}

std::vector<ShareInfo> driveShares(const HostInfo& host)
{
    std::vector<std::string> drives;
    const std::optional<Folder> hostFolder = OpenHostFolder(host.name);
    const std::optional<Folder> folder = hostFolder ? hostFolder->openFolder({"drives"}) : std::nullopt;
    if (DIR* stream = folder ? OpenFolderStream(folder->descriptor()) : nullptr) {
        while (const dirent* entry = ::readdir(stream)) {
            const std::string name = entry->d_name;
            struct stat status {};
            if (name.size() == 1 && isDriveLetter(name[0])
                && ::fstatat(folder->descriptor(), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0
                && S_ISDIR(status.st_mode))
                drives.push_back(name);
        }
        ::closedir(stream);
    }
    std::sort(drives.begin(), drives.end());
    std::vector<ShareInfo> shares;
    for (const std::string& drive : drives)
        shares.push_back({std::string(1, upper(drive[0])) + "$", STYPE_DISKTREE | STYPE_SPECIAL, "Default share",
                          std::string(1, upper(drive[0])) + ":\\"});
    return shares;
}

// The names of a drive path below the host's folder.
std::vector<std::string> driveNames(const DrivePath& path)
{
    std::vector<std::string> names{"drives", std::string(1, path.drive)};
    names.insert(names.end(), path.segments.begin(), path.segments.end());
    return names;
}

// The drive path a disk share shows; ERROR_BAD_NET_NAME for any other share.
DrivePath shareDrivePath(const HostInfo& host, std::string_view share)
{
    if (isDriveShare(share)) return {upper(share[0]), {}};
    if (const std::optional<ShareInfo> found = FindShare(host, share); found && found->type == STYPE_DISKTREE)
        if (const std::optional<DrivePath> path = ParseDrivePath(found->path)) return *path;
    FailWithCode(ERROR_BAD_NET_NAME);
}

} // namespace

std::string DrivePath::text() const
{
    std::string text = std::string(1, drive) + ":\\";
    for (std::size_t i = 0; i < segments.size(); ++i) text += (i ? "\\" : "") + segments[i];
    return text;
}

std::optional<DrivePath> ParseDrivePath(std::string_view text)
{
    if (text.size() < 2 || !isDriveLetter(text[0]) || text[1] != ':' || (text.size() > 2 && !isSeparator(text[2])))
        return std::nullopt;
    return DrivePath{upper(text[0]), SplitPath(text.substr(2))};
}

bool IsHiddenShare(std::string_view name)
{
    return !name.empty() && name.back() == '$';
}

std::vector<ShareInfo> Shares(const HostInfo& host)
{
    const IniDocument ini = ReadIniFile(host.folder, kSharesFile);
    std::vector<ShareInfo> shares;
    for (const std::string& name : ini.sectionNames()) {
        if (!isValidShareName(name) || isAdministrativeShare(name)) continue;
        shares.push_back({name, parseShareType(ini.valueOr(name, "type", "disk")), ini.valueOr(name, "remark", ""),
                          ini.valueOr(name, "path", "")});
    }
    for (ShareInfo& drive : driveShares(host)) shares.push_back(std::move(drive));
    shares.push_back({"IPC$", STYPE_IPC | STYPE_SPECIAL, "Remote IPC", ""});
    return shares;
}

std::optional<ShareInfo> FindShare(const HostInfo& host, std::string_view name)
{
    for (ShareInfo& share : Shares(host))
        if (EqualsIgnoringCase(share.name, name)) return std::move(share);
    return std::nullopt;
}

void SaveShare(const HostInfo& host, const ShareInfo& share)
{
    if (!isValidShareName(share.name) || isAdministrativeShare(share.name))
        invalidShare("Not a name for a share: \"" + share.name + "\"");
    const std::optional<DrivePath> path = ParseDrivePath(share.path);
    if (share.type == STYPE_DISKTREE && !path) invalidShare("A disk share needs a path such as C:\\Shares\\Data");
    if (share.type != STYPE_DISKTREE && share.type != STYPE_PRINTQ) invalidShare("A share is a disk or a print share");

    IniDocument ini = ReadIniFile(host.folder, kSharesFile);
    ini.removeSection(share.name);
    ini.setValue(share.name, "type", share.type == STYPE_PRINTQ ? "print" : "disk");
    ini.setValue(share.name, "path", path ? path->text() : "");
    ini.setValue(share.name, "remark", share.remark);
    if (path) CreateDriveFolder(host, *path);
    WriteIniFile(host.folder, kSharesFile, ini);
}

Folder ShareFolder(const HostInfo& host, std::string_view share)
{
    std::optional<Folder> folder = OpenDriveFolder(host, shareDrivePath(host, share));
    if (!folder) FailWithCode(ERROR_BAD_NET_NAME);
    return std::move(*folder);
}

std::optional<Folder> OpenDriveFolder(const HostInfo& host, const DrivePath& path)
{
    const std::optional<Folder> hostFolder = OpenHostFolder(host.name);
    return hostFolder ? hostFolder->openFolder(driveNames(path)) : std::nullopt;
}

Folder CreateDriveFolder(const HostInfo& host, const DrivePath& path)
{
    return CreateHostFolder(host.name).createFolders(driveNames(path));
}

fs::path DriveFolder(const HostInfo& host, const DrivePath& path)
{
    fs::path folder = host.folder;
    std::optional<Folder> current = OpenHostFolder(host.name);
    for (const std::string& name : driveNames(path)) {
        const std::optional<std::string> stored = current ? current->find(name) : std::nullopt;
        folder /= stored.value_or(name);
        current = stored ? current->openFolder({*stored}) : std::nullopt;
    }
    return folder;
}

FileLocation LocateFile(std::string_view path)
{
    if (const std::optional<DrivePath> local = ParseDrivePath(path)) {
        const std::optional<HostInfo> host = FindHost(LocalHostName());
        if (!host) FailWithCode(ERROR_BAD_NETPATH);
        return {*host, *local};
    }
    if (path.size() < 2 || !isSeparator(path[0]) || !isSeparator(path[1]))
        FailWithCode(ERROR_INVALID_NAME, std::string(path));

    const std::vector<std::string> segments = SplitPath(path);
    if (segments.empty()) FailWithCode(ERROR_BAD_NETPATH);
    if (!IsSafeName(segments[0])) FailWithCode(ERROR_INVALID_NAME, segments[0]);
    const std::optional<HostInfo> host = FindHost(segments[0]);
    if (!host || !host->reachable) FailWithCode(ERROR_BAD_NETPATH);
    if (segments.size() < 2) FailWithCode(ERROR_BAD_NET_NAME);

    DrivePath drivePath = shareDrivePath(*host, segments[1]);
    drivePath.segments.insert(drivePath.segments.end(), segments.begin() + 2, segments.end());
    return {*host, drivePath};
}

bool IsFileOrFolder(const FileLocation& location)
{
    if (location.drivePath.segments.empty()) return OpenDriveFolder(location.host, location.drivePath).has_value();
    DrivePath parent = location.drivePath;
    parent.segments.pop_back();
    const std::optional<Folder> folder = OpenDriveFolder(location.host, parent);
    const std::optional<std::string> name = folder ? folder->find(location.drivePath.segments.back()) : std::nullopt;
    struct stat status {};
    return name && ::fstatat(folder->descriptor(), name->c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0
        && (S_ISREG(status.st_mode) || S_ISDIR(status.st_mode));
}

std::vector<FolderEntry> ListFolder(std::string_view path)
{
    const FileLocation location = LocateFile(path);
    const std::optional<Folder> folder = OpenDriveFolder(location.host, location.drivePath);
    DIR* stream = folder ? OpenFolderStream(folder->descriptor()) : nullptr;
    if (!stream) FailWithCode(ERROR_PATH_NOT_FOUND, std::string(path));

    std::vector<FolderEntry> entries;
    while (const dirent* entry = ::readdir(stream)) {
        struct stat status {};
        if (!IsSafeName(entry->d_name) || ::fstatat(folder->descriptor(), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (!S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode)) continue;
        entries.push_back({entry->d_name, S_ISDIR(status.st_mode),
                           S_ISDIR(status.st_mode) ? 0 : std::uint64_t(status.st_size), status.st_mtime});
    }
    ::closedir(stream);
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
        const std::string foldedA = CaseFold(a.name), foldedB = CaseFold(b.name);
        return foldedA != foldedB ? foldedA < foldedB : a.name < b.name;
    });
    return entries;
}

std::vector<NetResource> EnumerateResources(std::string_view container)
{
    const HostInfo host = ReachableHost(container);
    std::vector<NetResource> resources;
    for (const ShareInfo& share : Shares(host))
        if (!IsHiddenShare(share.name) && (share.type == STYPE_DISKTREE || share.type == STYPE_PRINTQ))
            resources.push_back({"\\\\" + host.name + "\\" + share.name, false});
    return resources;
}

} // namespace net
