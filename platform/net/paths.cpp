// UNC paths of the simulated network: "\\HOST\SHARE\..." resolved to the
// share's folder below the host, and the names below it; and paths below the
// network root opened through its folders.

#include "platform/net/network.h"
#include "platform/net/shares.h"

namespace net {

namespace {

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

// The names of a path below the network root; ERROR_INVALID_NAME for one
// outside it.
std::vector<std::string> namesBelowRoot(const fs::path& path)
{
    const fs::path relative = path.lexically_normal().lexically_relative(NetworkRoot().lexically_normal());
    if (relative.empty() || *relative.begin() == "..") ThrowInvalidName(path.string(), "outside the network");
    std::vector<std::string> names;
    for (const fs::path& name : relative)
        if (name != ".") names.push_back(name.string());
    return names;
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

std::optional<Folder> OpenNetworkFolder(const fs::path& path)
{
    const std::vector<std::string> names = namesBelowRoot(path);
    const std::optional<Folder> root = OpenNetworkRoot();
    return root ? root->openFolder(names) : std::nullopt;
}

Folder CreateNetworkFolder(const fs::path& path)
{
    const std::vector<std::string> names = namesBelowRoot(path);
    return Folder::CreatePath(NetworkRoot()).createFolders(names);
}

UncLocation ResolveUnc(std::string_view unc)
{
    if (unc.size() < 2 || !isSeparator(unc[0]) || !isSeparator(unc[1])) ThrowInvalidName(unc, "not a network path");

    std::vector<std::string> segments = SplitPath(unc);
    for (const std::string& segment : segments)
        if (!IsSafeName(segment)) ThrowInvalidName(segment);
    const std::optional<HostInfo> host = segments.empty() ? std::nullopt : FindHost(segments[0]);
    if (!host || !host->reachable)
        throw com::ComError(com::HResultFromWin32(ERROR_BAD_NETPATH), "The network path was not found.");
    if (segments.size() < 2)
        throw com::ComError(com::HResultFromWin32(ERROR_BAD_NET_NAME), "The network name cannot be found.");
    return UncLocation{ShareFolder(*host, segments[1]), {segments.begin() + 2, segments.end()}};
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
