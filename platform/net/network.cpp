// The network root, network.ini and the hosts with their host.ini.

#include "platform/net/network.h"

#include "platform/net/atomic_file.h"
#include "platform/net/case_fold.h"
#include "platform/net/ini_document.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <sstream>
#include <unistd.h>

namespace net {

namespace {

const char kNetworkFile[] = "network.ini";
const char kHostFile[] = "host.ini";
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

fs::path hostsFolder()
{
    return NetworkRoot() / "hosts";
}

IniDocument readIni(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return IniDocument::Parse(text.str());
}

bool containsIgnoringCase(const std::vector<std::string>& items, std::string_view wanted)
{
    return std::any_of(items.begin(), items.end(),
                       [&](const std::string& item) { return EqualsIgnoringCase(item, wanted); });
}

HostInfo readHost(const fs::path& folder)
{
    const IniDocument ini = readIni(folder / kHostFile);
    HostInfo host;
    host.name = folder.filename().string();
    host.folder = folder;
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
    std::error_code error;
    return fs::is_regular_file(NetworkRoot() / kNetworkFile, error);
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
    fs::create_directories(hostsFolder());
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
    const IniDocument ini = readIni(NetworkRoot() / kNetworkFile);
    NetworkInfo info;
    info.localHost = ini.valueOr(kNetworkSection, "local_host", "");
    info.domains = SplitList(ini.valueOr(kNetworkSection, "domains", ""));
    return info;
}

void WriteNetwork(const NetworkInfo& info)
{
    if (!info.localHost.empty() && !IsSafeName(info.localHost))
        throw com::ComError(com::HResultFromWin32(ERROR_INVALID_NAME),
                            "The filename, directory name, or volume label syntax is incorrect: \"" + info.localHost + "\"");
    const fs::path root = NetworkRoot();
    fs::create_directories(root);
    IniDocument ini = readIni(root / kNetworkFile);
    ini.setValue(kNetworkSection, "local_host", info.localHost);
    ini.setValue(kNetworkSection, "domains", JoinList(info.domains));
    WriteFileAtomically(root / kNetworkFile, ini.toText());
}

std::string LocalHostName()
{
    return ReadNetwork().localHost;
}

std::optional<HostInfo> FindHost(std::string_view name)
{
    if (!IsSafeName(name)) return std::nullopt;
    const std::optional<fs::path> folder = FindEntry(hostsFolder(), name);
    std::error_code error;
    if (!folder || !fs::is_directory(*folder, error)) return std::nullopt;
    return readHost(*folder);
}

std::vector<HostInfo> Hosts()
{
    std::vector<HostInfo> hosts;
    std::error_code error;
    for (fs::directory_iterator it(hostsFolder(), error), end; !error && it != end; it.increment(error)) {
        if (it->is_directory(error) && IsSafeName(it->path().filename().string())) hosts.push_back(readHost(it->path()));
    }
    std::sort(hosts.begin(), hosts.end(), [](const HostInfo& a, const HostInfo& b) {
        const std::string foldedA = CaseFold(a.name), foldedB = CaseFold(b.name);
        return foldedA != foldedB ? foldedA < foldedB : a.name < b.name;
    });
    return hosts;
}

HostInfo SaveHost(const HostInfo& host)
{
    if (!IsSafeName(host.name))
        throw com::ComError(com::HResultFromWin32(ERROR_INVALID_NAME),
                            "The filename, directory name, or volume label syntax is incorrect: \"" + host.name + "\"");
    const std::optional<HostInfo> existing = FindHost(host.name);
    const fs::path folder = existing ? existing->folder : hostsFolder() / host.name;

    IniDocument ini = readIni(folder / kHostFile);
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
    fs::create_directories(folder);
    WriteFileAtomically(folder / kHostFile, ini.toText());
    return readHost(folder);
}

std::uint64_t BootId(const HostInfo& host)
{
    return parseBootId(readIni(host.folder / kHostFile).value(kHostSection, "boot_id"));
}

std::uint64_t AdvanceBootId(const HostInfo& host)
{
    IniDocument ini = readIni(host.folder / kHostFile);
    const std::uint64_t next = parseBootId(ini.value(kHostSection, "boot_id")) + 1;
    ini.setValue(kHostSection, "boot_id", std::to_string(next));
    WriteFileAtomically(host.folder / kHostFile, ini.toText());
    return next;
}

} // namespace net
