// UNC paths of the simulated network: "\\HOST\SHARE\..." resolved to the
// share's folder below the host, and the names below it.

#include "platform/net/network.h"

#include <cctype>

namespace net {

namespace {

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool isAdministrativeShare(std::string_view share)
{
    return share.size() == 2 && share[1] == '$' && std::isalpha(static_cast<unsigned char>(share[0]));
}

[[noreturn]] void throwBadNetName()
{
    throw com::ComError(com::HResultFromWin32(ERROR_BAD_NET_NAME), "The network name cannot be found.");
}

// The folder that a share of the host shows: a drive's administrative share
// ("C$") shows drives/C.
Folder shareFolder(const Folder& host, std::string_view share)
{
    if (!isAdministrativeShare(share)) throwBadNetName();
    const std::string drive(1, static_cast<char>(std::toupper(static_cast<unsigned char>(share[0]))));
    std::optional<Folder> folder = host.openFolder({"drives", drive});
    if (!folder) throwBadNetName();
    return std::move(*folder);
}

} // namespace

std::vector<std::string> SplitPath(std::string_view path)
{
    std::vector<std::string> segments;
    std::string segment;
    for (const char c : path) {
        if (!isSeparator(c)) {
            segment += c;
        } else if (!segment.empty()) {
            segments.push_back(std::move(segment));
            segment.clear();
        }
    }
    if (!segment.empty()) segments.push_back(std::move(segment));
    return segments;
}

UncLocation ResolveUnc(std::string_view unc)
{
    if (unc.size() < 2 || !isSeparator(unc[0]) || !isSeparator(unc[1])) ThrowInvalidName(unc, "not a network path");

    std::vector<std::string> segments = SplitPath(unc);
    for (const std::string& segment : segments)
        if (!IsSafeName(segment)) ThrowInvalidName(segment);
    if (segments.empty())
        throw com::ComError(com::HResultFromWin32(ERROR_BAD_NETPATH), "The network path was not found.");
    const std::optional<HostInfo> host = FindHost(segments[0]);
    std::optional<Folder> hostFolder = host && host->reachable ? OpenHostFolder(host->name) : std::nullopt;
    if (!hostFolder) throw com::ComError(com::HResultFromWin32(ERROR_BAD_NETPATH), "The network path was not found.");
    if (segments.size() < 2) throwBadNetName();
    return UncLocation{shareFolder(*hostFolder, segments[1]), {segments.begin() + 2, segments.end()}};
}

FileHandle OpenUncFile(std::string_view unc)
{
    UncLocation location = ResolveUnc(unc);
    if (location.names.empty()) ThrowInvalidName(unc, "a share, not a file");
    const std::string file = location.names.back();
    location.names.pop_back();
    const std::optional<Folder> folder = location.share.openFolder(location.names);
    if (!folder)
        throw com::ComError(com::HResultFromWin32(ERROR_PATH_NOT_FOUND),
                            "The system cannot find the path specified: \"" + std::string(unc) + "\"");
    std::optional<FileHandle> opened = folder->openForReading(file);
    if (!opened)
        throw com::ComError(com::HResultFromWin32(ERROR_FILE_NOT_FOUND),
                            "The system cannot find the file specified: \"" + std::string(unc) + "\"");
    return std::move(*opened);
}

} // namespace net
