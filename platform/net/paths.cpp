// Names and paths inside the simulated network: case-insensitive lookup that
// keeps the stored case, and the refusal of anything that could reach outside
// the folder a path is resolved in.

#include "platform/net/atomic_file.h"
#include "platform/net/case_fold.h"
#include "platform/net/network.h"
#include "platform/net/shares.h"

#include <algorithm>

namespace net {

namespace {

const char kInvalidNameText[] = "The filename, directory name, or volume label syntax is incorrect";

// The name as it can be shown in a message: control characters escaped.
std::string printable(std::string_view name)
{
    std::string text;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20) {
            static const char digits[] = "0123456789ABCDEF";
            text += "\\x";
            text += digits[byte >> 4];
            text += digits[byte & 0xF];
        } else {
            text += c;
        }
    }
    return text;
}

[[noreturn]] void throwInvalidName(std::string_view name, std::string_view reason = {})
{
    std::string description = std::string(kInvalidNameText) + ": \"" + printable(name) + "\"";
    if (!reason.empty()) description += " (" + std::string(reason) + ")";
    throw com::ComError(com::HResultFromWin32(ERROR_INVALID_NAME), description);
}

void requireSafeName(std::string_view name)
{
    if (!IsSafeName(name)) throwInvalidName(name);
}

fs::path withoutTrailingSeparator(fs::path path)
{
    return (path.has_filename() || !path.has_parent_path()) ? path : path.parent_path();
}

// The path with every link of its existing part followed.
fs::path followedPath(const fs::path& path)
{
    std::error_code error;
    fs::path followed = fs::weakly_canonical(path, error);
    if (error)
        throw com::ComError(HResultFromErrno(error.value()), "Cannot resolve " + path.string() + ": " + error.message());
    return withoutTrailingSeparator(followed);
}

bool isInside(const fs::path& canonicalBase, const fs::path& canonicalPath)
{
    return std::mismatch(canonicalBase.begin(), canonicalBase.end(), canonicalPath.begin(), canonicalPath.end()).first
        == canonicalBase.end();
}

// A link found while resolving must lead to something that exists inside base:
// a dangling link could otherwise create a file wherever it points.
void requireLinkInside(const fs::path& canonicalBase, const fs::path& entry)
{
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(entry, error))) return;
    const fs::path target = fs::canonical(entry, error);
    if (error) throwInvalidName(entry.filename().string(), "a link that leads nowhere");
    if (!isInside(canonicalBase, target)) throwInvalidName(entry.filename().string(), "a link that leads outside");
}

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

} // namespace

bool IsSafeName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".."
        && name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

std::optional<fs::path> FindEntry(const fs::path& folder, std::string_view name)
{
    requireSafeName(name);
    std::error_code error;
    const fs::path exact = folder / fs::path(std::string(name));
    if (fs::exists(fs::symlink_status(exact, error))) return exact;

    const std::optional<std::string> match = FindNameIgnoringCase(folder, name);
    if (!match) return std::nullopt;
    return folder / *match;
}

fs::path ResolveInside(const fs::path& base, const std::vector<std::string>& segments)
{
    for (const std::string& segment : segments) requireSafeName(segment);

    const fs::path canonicalBase = followedPath(base);
    fs::path current = base;
    bool exists = true;
    for (const std::string& segment : segments) {
        std::optional<fs::path> entry = exists ? FindEntry(current, segment) : std::nullopt;
        if (entry) {
            requireLinkInside(canonicalBase, *entry);
            current = *entry;
        } else {
            exists = false;
            current /= fs::path(segment);
        }
    }
    if (!isInside(canonicalBase, followedPath(current)))
        throwInvalidName(segments.empty() ? std::string() : segments.back(), "outside its folder");
    return current;
}

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

fs::path ResolveUnc(std::string_view unc)
{
    if (unc.size() < 2 || !isSeparator(unc[0]) || !isSeparator(unc[1])) throwInvalidName(unc, "not a network path");

    const std::vector<std::string> segments = SplitPath(unc);
    if (segments.empty())
        throw com::ComError(com::HResultFromWin32(ERROR_BAD_NETPATH), "The network path was not found.");
    requireSafeName(segments[0]);
    const std::optional<HostInfo> host = FindHost(segments[0]);
    if (!host || !host->reachable)
        throw com::ComError(com::HResultFromWin32(ERROR_BAD_NETPATH), "The network path was not found.");
    if (segments.size() < 2)
        throw com::ComError(com::HResultFromWin32(ERROR_BAD_NET_NAME), "The network name cannot be found.");

    const fs::path shareFolder = ShareFolder(*host, segments[1]);
    return ResolveInside(shareFolder, std::vector<std::string>(segments.begin() + 2, segments.end()));
}

} // namespace net
