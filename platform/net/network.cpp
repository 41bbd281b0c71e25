// The network root, network.ini and the hosts with their host.ini.

#include "platform/net/network.h"

#include "platform/net/case_fold.h"
#include "platform/net/ini_document.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace net {

namespace {

const char kNetworkFile[] = "network.ini";
const char kHostsFolder[] = "hosts";
const char kHostFile[] = "host.ini";

std::atomic<std::uint64_t> hostFileWrites{0};
const char kNetworkSection[] = "network";
const char kHostSection[] = "host";
const char kEveryone[] = "everyone";
const char kAdministrators[] = "administrators";

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

fs::path homeFolder()
{
    if (std::string home = environment("HOME"); !home.empty()) return home;
    if (const passwd* entry = getpwuid(geteuid()); entry && entry->pw_dir) return entry->pw_dir;
    return fs::current_path();
}

void writeHostFile(const Folder& folder, const IniDocument& ini)
{
    ++hostFileWrites;
    folder.writeFile(kHostFile, ini.toText());
}

IniDocument readIni(const Folder& folder, std::string_view name)
{
    return IniDocument::Parse(folder.readFile(name).value_or(std::string()));
}

std::optional<Folder> openHostsFolder()
{
    const std::optional<Folder> root = OpenNetworkRoot();
    return root ? root->openFolder({kHostsFolder}) : std::nullopt;
}

[[noreturn]] void throwInvalidHostName(std::string_view name)
{
    ThrowInvalidName(name, "not a host name");
}

bool containsIgnoringCase(const std::vector<std::string>& items, std::string_view wanted)
{
    return std::any_of(items.begin(), items.end(),
                       [&](const std::string& item) { return EqualsIgnoringCase(item, wanted); });
}

HostInfo readHost(const Folder& folder)
{
    const IniDocument ini = readIni(folder, kHostFile);
    HostInfo host;
    host.name = folder.path().filename().string();
    host.folder = folder.path();
    host.domain = ini.valueOr(kHostSection, "domain", "");
    host.osVersion = ini.valueOr(kHostSection, "os_version", host.osVersion);
    host.servicePack = ini.valueOr(kHostSection, "service_pack", "");
    host.serverType = ini.valueOr(kHostSection, "server_type", "");
    host.comment = ini.valueOr(kHostSection, "comment", "");
    host.services = SplitList(ini.valueOr(kHostSection, "services", ""));
    host.addresses = SplitList(ini.valueOr(kHostSection, "addresses", ""));
    host.reachable = ParseFlag(ini.valueOr(kHostSection, "reachable", "yes"), true);
    host.administrators = SplitList(ini.valueOr(kHostSection, "administrators", ""));
    host.remoteRegistryForEveryone = EqualsIgnoringCase(ini.valueOr(kHostSection, "remote_registry", kAdministrators), kEveryone);
    return host;
}

// The folder of an existing host, for its host.ini.
Folder requireHostFolder(const HostInfo& host)
{
    std::optional<Folder> folder = OpenHostFolder(host.name);
    if (!folder)
        throw com::ComError(com::HResultFromWin32(ERROR_BAD_NETPATH), "The network has no host named " + host.name);
    return std::move(*folder);
}

std::uint64_t parseBootId(const std::optional<std::string>& text)
{
    if (!text) return 1;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text->c_str(), &end, 10);
    return (end == text->c_str() || value == 0) ? 1 : value;
}

} // namespace

fs::path NetworkRoot()
{
    if (std::string root = environment("TARVEX_NETWORK"); !root.empty()) return root;
    if (std::string data = environment("XDG_DATA_HOME"); !data.empty() && fs::path(data).is_absolute())
        return fs::path(data) / "tarvex" / "network";
    return homeFolder() / ".local" / "share" / "tarvex" / "network";
}

bool NetworkExists()
{
    const std::optional<Folder> root = OpenNetworkRoot();
    struct stat status {};
    return root && ::fstatat(root->descriptor(), kNetworkFile, &status, AT_SYMLINK_NOFOLLOW) == 0
        && S_ISREG(status.st_mode);
}

std::optional<Folder> OpenNetworkRoot()
{
    return Folder::OpenPath(NetworkRoot());
}

bool HostInfo::runsService(std::string_view service) const
{
    return containsIgnoringCase(services, service);
}

bool HostInfo::isAdministrator(std::string_view account) const
{
    return containsIgnoringCase(administrators, account);
}

void InitializeNetwork(const NetworkInfo& info)
{
    Folder::CreatePath(NetworkRoot()).createFolders({kHostsFolder});
    if (!NetworkExists()) WriteNetwork(info);
    const std::string localHost = LocalHostName();
    if (!localHost.empty() && !FindHost(localHost)) {
        HostInfo host;
        host.name = localHost;
        SaveHost(host);
    }
}

NetworkInfo ReadNetwork()
{
    const std::optional<Folder> root = OpenNetworkRoot();
    const IniDocument ini = root ? readIni(*root, kNetworkFile) : IniDocument();
    NetworkInfo info;
    info.localHost = ini.valueOr(kNetworkSection, "local_host", "");
    info.domains = SplitList(ini.valueOr(kNetworkSection, "domains", ""));
    return info;
}

void WriteNetwork(const NetworkInfo& info)
{
    if (!info.localHost.empty() && !IsSafeName(info.localHost)) throwInvalidHostName(info.localHost);
    const Folder root = Folder::CreatePath(NetworkRoot());
    IniDocument ini = readIni(root, kNetworkFile);
    ini.setValue(kNetworkSection, "local_host", info.localHost);
    ini.setValue(kNetworkSection, "domains", JoinList(info.domains));
    root.writeFile(kNetworkFile, ini.toText());
}

std::string LocalHostName()
{
    return ReadNetwork().localHost;
}

std::optional<Folder> OpenHostFolder(std::string_view name)
{
    if (!IsSafeName(name)) return std::nullopt;
    const std::optional<Folder> hosts = openHostsFolder();
    return hosts ? hosts->openFolder({std::string(name)}) : std::nullopt;
}

Folder CreateHostFolder(std::string_view name)
{
    if (!IsSafeName(name)) throwInvalidHostName(name);
    return Folder::CreatePath(NetworkRoot()).createFolders({kHostsFolder, std::string(name)});
}

std::optional<HostInfo> FindHost(std::string_view name)
{
    const std::optional<Folder> folder = OpenHostFolder(name);
    if (!folder) return std::nullopt;
    return readHost(*folder);
}

std::vector<HostInfo> Hosts()
{
    std::vector<HostInfo> hosts;
    const std::optional<Folder> folder = openHostsFolder();
    DIR* stream = folder ? OpenFolderStream(folder->descriptor()) : nullptr;
    if (!stream) return hosts;
    while (const dirent* entry = ::readdir(stream)) {
        const std::string name = entry->d_name;
        struct stat status {};
        if (!IsSafeName(name) || ::fstatat(folder->descriptor(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0
            || !S_ISDIR(status.st_mode))
            continue;
        if (const std::optional<Folder> host = folder->openFolder({name})) hosts.push_back(readHost(*host));
    }
    ::closedir(stream);
    std::sort(hosts.begin(), hosts.end(), [](const HostInfo& a, const HostInfo& b) {
        const std::string foldedA = CaseFold(a.name), foldedB = CaseFold(b.name);
        return foldedA != foldedB ? foldedA < foldedB : a.name < b.name;
    });
    return hosts;
}

std::uint64_t HostFileWritesInThisProcess()
{
    return hostFileWrites;
}

HostInfo SaveHost(const HostInfo& host)
{
    if (!IsSafeName(host.name)) throwInvalidHostName(host.name);
    std::optional<Folder> existing = OpenHostFolder(host.name);
    const Folder folder = existing ? std::move(*existing) : CreateHostFolder(host.name);

    IniDocument ini = readIni(folder, kHostFile);
    ini.setValue(kHostSection, "domain", host.domain);
    ini.setValue(kHostSection, "os_version", host.osVersion);
    ini.setValue(kHostSection, "service_pack", host.servicePack);
    ini.setValue(kHostSection, "server_type", host.serverType);
    ini.setValue(kHostSection, "comment", host.comment);
    ini.setValue(kHostSection, "services", JoinList(host.services));
    ini.setValue(kHostSection, "addresses", JoinList(host.addresses));
    ini.setValue(kHostSection, "reachable", host.reachable ? "yes" : "no");
    ini.setValue(kHostSection, "administrators", JoinList(host.administrators));
    ini.setValue(kHostSection, "remote_registry", host.remoteRegistryForEveryone ? kEveryone : kAdministrators);
    writeHostFile(folder, ini);
    return readHost(folder);
}

std::uint64_t BootId(const HostInfo& host)
{
    const std::optional<Folder> folder = OpenHostFolder(host.name);
    return folder ? parseBootId(readIni(*folder, kHostFile).value(kHostSection, "boot_id")) : 1;
}

std::uint64_t AdvanceBootId(const HostInfo& host)
{
    const Folder folder = requireHostFolder(host);
    IniDocument ini = readIni(folder, kHostFile);
    const std::uint64_t next = parseBootId(ini.value(kHostSection, "boot_id")) + 1;
    ini.setValue(kHostSection, "boot_id", std::to_string(next));
    writeHostFile(folder, ini);
    return next;
}

} // namespace net
