#include "platform/net/security.h"

#include "platform/net/case_fold.h"
#include "platform/net/data_files.h"
#include "platform/net/net_errors.h"
#include "platform/net/servers.h"
#include "platform/net/shares.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace net {

namespace {

const char kAclFile[] = "acl.txt";
const char kEmpty[] = "empty";

// The object a line of acl.txt is about: "share Public" or "file C:\dir".
struct ObjectName {
    std::string kind;
    std::string name;

    bool is(const ObjectName& other) const { return kind == other.kind && EqualsIgnoringCase(name, other.name); }
};

struct AclLine {
    ObjectName object;
    std::string entry; // "empty" or "allow|deny MASK SID"
};

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

// Neither the entry nor the account in it holds a ':', so the last one ends
// the object's name.
std::optional<AclLine> parseLine(std::string_view line)
{
    line = trimmed(line);
    const std::size_t blank = line.find(' ');
    const std::size_t colon = line.rfind(':');
    if (line.empty() || line.front() == '#' || blank == std::string_view::npos || colon == std::string_view::npos
        || colon < blank)
        return std::nullopt;
    return AclLine{{std::string(line.substr(0, blank)), std::string(trimmed(line.substr(blank + 1, colon - blank - 1)))},
                   std::string(trimmed(line.substr(colon + 1)))};
}

std::optional<Ace> parseEntry(std::string_view entry)
{
    const std::size_t first = entry.find(' ');
    const std::size_t second = entry.find(' ', first == std::string_view::npos ? first : first + 1);
    if (second == std::string_view::npos) return std::nullopt;
    const std::string_view type = entry.substr(0, first);
    if (type != "allow" && type != "deny") return std::nullopt;
    const std::string mask(entry.substr(first + 1, second - first - 1));
    char* end = nullptr;
    const unsigned long value = std::strtoul(mask.c_str(), &end, 16);
    if (end == mask.c_str() || *end) return std::nullopt;
    return Ace{type == "allow" ? AceType::Allow : AceType::Deny, std::uint32_t(value),
               std::string(trimmed(entry.substr(second + 1)))};
}

std::string entryText(const Ace& ace)
{
    char mask[16];
    std::snprintf(mask, sizeof mask, "0x%08X", unsigned(ace.mask));
    return std::string(ace.type == AceType::Allow ? "allow " : "deny ") + mask + " " + ace.sid;
}

std::vector<std::string_view> lines(std::string_view text)
{
    std::vector<std::string_view> result;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        result.push_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return result;
}

// The DACLs that acl.txt gives, by object in file order.
std::vector<SecuredObject> parseAcl(std::string_view text)
{
    std::vector<SecuredObject> objects;
    for (const std::string_view line : lines(text)) {
        const std::optional<AclLine> parsed = parseLine(line);
        if (!parsed) continue;
        auto object = std::find_if(objects.begin(), objects.end(), [&](const SecuredObject& known) {
            return parsed->object.is({known.kind, known.name});
        });
        if (object == objects.end()) {
            objects.push_back({parsed->object.kind, parsed->object.name, {std::vector<Ace>()}});
            object = objects.end() - 1;
        }
        if (const std::optional<Ace> ace = parseEntry(parsed->entry)) object->security.dacl->push_back(*ace);
    }
    return objects;
}

// A secured object and the host whose acl.txt holds its DACL.
struct LocatedObject {
    HostInfo host;
    ObjectName object;
};

SecurityDescriptor readSecurity(const LocatedObject& located)
{
    for (SecuredObject& known : parseAcl(ReadDataFile(located.host.folder, kAclFile)))
        if (located.object.is({known.kind, known.name})) return std::move(known.security);
    return {};
}

void writeSecurity(const LocatedObject& located, const SecurityDescriptor& security)
{
    const ObjectName& object = located.object;
    for (const char c : object.name)
        if (c == '\n' || c == '\r') throw com::ComError(com::E_INVALIDARG, "A name with a line break has no permissions");
    const std::string stored = ReadDataFile(located.host.folder, kAclFile);
    std::string text;
    for (const std::string_view line : lines(stored)) {
        const std::optional<AclLine> parsed = parseLine(line);
        if (!parsed || !parsed->object.is(object)) text += std::string(line) + "\n";
    }
    const std::string prefix = object.kind + " " + object.name + ": ";
    if (security.dacl && security.dacl->empty()) text += prefix + kEmpty + "\n";
    if (security.dacl)
        for (const Ace& ace : *security.dacl) {
            if (ace.sid.find_first_of(":\r\n") != std::string::npos)
                throw com::ComError(com::E_INVALIDARG, "Not a SID: \"" + ace.sid + "\"");
            text += prefix + entryText(ace) + "\n";
        }
    WriteDataFile(located.host.folder, kAclFile, text);
}

LocatedObject locateShare(std::string_view sharePath)
{
    const std::vector<std::string> segments = SplitPath(sharePath);
    if (sharePath.size() < 2 || sharePath.substr(0, 2) != "\\\\" || segments.size() != 2)
        FailWithCode(NERR_NetNameNotFound, std::string(sharePath));
    HostInfo host = ReachableHost(segments[0]);
    const std::optional<ShareInfo> share = FindShare(host, segments[1]);
    if (!share) FailWithCode(NERR_NetNameNotFound, std::string(sharePath));
    return {std::move(host), {"share", share->name}};
}

LocatedObject locateFile(std::string_view path)
{
    FileLocation location = LocateFile(path);
    if (!IsFileOrFolder(location)) FailWithCode(ERROR_FILE_NOT_FOUND, std::string(path));
    return {std::move(location.host), {"file", location.drivePath.text()}};
}

} // namespace

SecurityDescriptor ReadShareSecurity(std::string_view sharePath)
{
    return readSecurity(locateShare(sharePath));
}

void WriteShareSecurity(std::string_view sharePath, const SecurityDescriptor& security)
{
    writeSecurity(locateShare(sharePath), security);
}

SecurityDescriptor ReadFileSecurity(std::string_view path)
{
    return readSecurity(locateFile(path));
}

void WriteFileSecurity(std::string_view path, const SecurityDescriptor& security)
{
    writeSecurity(locateFile(path), security);
}

std::vector<SecuredObject> SecuredObjects(const HostInfo& host)
{
    return parseAcl(ReadDataFile(host.folder, kAclFile));
}

} // namespace net
