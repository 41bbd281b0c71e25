#include "network_commands.h"

#include "platform/net/accounts.h"
#include "platform/net/case_fold.h"
#include "platform/net/ini_document.h"
#include "platform/net/domains.h"
#include "platform/net/net_errors.h"
#include "platform/net/security.h"
#include "platform/net/servers.h"
#include "platform/net/sessions.h"
#include "platform/net/shares.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

const char* const NetworkCommandsUsage = R"(
Domains, server records, shares, accounts, permissions and connections:

  domain NAME [--trusts "D1;D2"]                     add a domain, or set the domains it trusts
  host NAME ... [--os-version 5.0] [--type "server;domain_controller"] [--services "S1;S2"]
           [--addresses "10.0.0.5;..."] [--comment C]
                                                     set a host's server record (types: workstation,
                                                     server, domain_controller, backup_controller,
                                                     windows9x)
  share HOST NAME [--path C:\DIR] [--type disk|print] [--remark R]
                                                     add or change a share
  account HOST NAME --kind user|global|local [--full-name F] [--comment C] [--members "A;B"]
                                                     add or change a user, global group or local group
  acl \\HOST\SHARE[\PATH] [--share] --entries "allow ACCOUNT RIGHT;deny ACCOUNT RIGHT" | --empty | --missing
                                                     set the permissions of a file or folder, or with
                                                     --share of the share (RIGHT: read, change, full or
                                                     a hexadecimal mask)
  connect \\HOST\SHARE --user U | disconnect \\HOST\SHARE
                                                     connect the local host as a user, or disconnect
  show [HOST]                                        list domains and hosts, or all a host holds
)";

const char* const NetworkCommandFlags[3] = {"share", "empty", "missing"};

namespace {

net::HostInfo requireHost(const std::string& name)
{
    std::optional<net::HostInfo> host = net::FindHost(name);
    if (!host) throw UsageError("no host is named " + name);
    return *host;
}

std::string hex(std::uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", unsigned(value));
    return text;
}

std::uint32_t parseRight(const std::string& word)
{
    if (net::EqualsIgnoringCase(word, "read")) return 0x1200A9;
    if (net::EqualsIgnoringCase(word, "change")) return 0x1301BF;
    if (net::EqualsIgnoringCase(word, "full")) return 0x1F01FF;
    char* end = nullptr;
    const unsigned long mask = std::strtoul(word.c_str(), &end, 16);
    if (word.empty() || *end) throw UsageError("not a right: " + word);
    return std::uint32_t(mask);
}

// "allow ACCOUNT RIGHT": the account may hold blanks.
net::Ace parseEntry(const std::string& text, const net::AccountDirectory& directory)
{
    const std::size_t first = text.find(' ');
    const std::size_t last = text.rfind(' ');
    if (first == std::string::npos || first == last) throw UsageError("expected \"allow|deny ACCOUNT RIGHT\": " + text);
    const std::string type = text.substr(0, first);
    if (type != "allow" && type != "deny") throw UsageError("expected allow or deny: " + type);
    const std::string account = text.substr(first + 1, last - first - 1);
    std::string sid = account;
    if (account.rfind("S-1-", 0) != 0) {
        const std::optional<net::AccountName> found = directory.lookupName(account);
        if (!found) throw UsageError("no account is named " + account);
        sid = found->sid;
    }
    return {type == "allow" ? net::AceType::Allow : net::AceType::Deny, parseRight(text.substr(last + 1)), sid};
}

std::string accountText(const std::string& sid, const net::AccountDirectory& directory)
{
    const std::optional<net::AccountName> account = directory.lookupSid(sid);
    if (!account) return sid + " (unknown)";
    return account->domain.empty() ? account->name : account->domain + "\\" + account->name;
}

void showSecurity(const net::SecurityDescriptor& security, const net::AccountDirectory& directory)
{
    if (!security.dacl) return void(std::cout << "    no DACL: everyone may do everything\n");
    if (security.dacl->empty()) std::cout << "    empty DACL: no one may do anything\n";
    for (const net::Ace& ace : *security.dacl)
        std::cout << "    " << (ace.type == net::AceType::Allow ? "allow " : "deny ") << hex(ace.mask) << " "
                  << accountText(ace.sid, directory) << "\n";
}

void showHostLine(const net::HostInfo& host)
{
    const net::ServerRecord record = net::ServerRecordOf(host);
    std::cout << "host " << host.name << ": domain " << (host.domain.empty() ? "-" : host.domain) << ", os "
              << host.osVersion << ", type " << hex(record.type) << (host.reachable ? "" : ", unreachable") << "\n";
}

void showHost(const net::HostInfo& host)
{
    showHostLine(host);
    std::cout << "  comment: " << host.comment << "\n  services: " << net::JoinList(host.services)
              << "\n  addresses: " << net::JoinList(host.addresses) << "\n";
    const net::AccountDirectory directory;
    const std::vector<net::SecuredObject> secured = net::SecuredObjects(host);
    const auto securityOf = [&](const std::string& kind, const std::string& name) {
        for (const net::SecuredObject& object : secured)
            if (object.kind == kind && net::EqualsIgnoringCase(object.name, name)) return object.security;
        return net::SecurityDescriptor{};
    };
    for (const net::ShareInfo& share : net::Shares(host)) {
        std::cout << "share " << share.name << ": " << hex(share.type) << " " << share.path << " \"" << share.remark
                  << "\"\n";
        showSecurity(securityOf("share", share.name), directory);
    }
    for (const net::Account& account : net::Accounts(host)) {
        std::cout << "account " << account.name << ": " << net::AccountKindWord(account.kind) << " " << account.sid
                  << " \"" << account.fullName << "\" \"" << account.comment << "\"\n";
        for (const std::string& member : account.members)
            std::cout << "    member "
                      << (account.kind == net::AccountKind::LocalGroup ? accountText(member, directory) : member) << "\n";
    }
    for (const net::SecuredObject& object : secured)
        if (object.kind == "file") {
            std::cout << "file " << object.name << "\n";
            showSecurity(object.security, directory);
        }
    if (net::EqualsIgnoringCase(host.name, net::LocalHostName()))
        for (const net::Connection& connection : net::Connections())
            std::cout << "connection " << connection.remote << " as " << connection.user << "\n";
}

void showNetwork()
{
    std::cout << "local host " << net::LocalHostName() << "\n";
    for (const net::DomainInfo& domain : net::Domains())
        std::cout << "domain " << domain.name << ": controller "
                  << net::FindDomainController(domain.name).value_or("-") << ", trusts " << net::JoinList(domain.trusts)
                  << "\n";
    for (const net::HostInfo& host : net::Hosts()) showHostLine(host);
}

} // namespace

void ApplyServerRecordOptions(const CommandLine& line, net::HostInfo& info)
{
    if (auto version = line.option("os-version")) info.osVersion = *version;
    if (line.option("type")) {
        for (const std::string& role : line.list("type"))
            if (!net::ServerRoleBits(role)) throw UsageError("unknown server type " + role);
        info.serverType = net::JoinList(line.list("type"));
    }
    if (line.option("services")) info.services = line.list("services");
    if (line.option("addresses")) {
        for (const std::string& address : line.list("addresses"))
            if (!net::IsIpv4Address(address)) throw UsageError("not an IPv4 address: " + address);
        info.addresses = line.list("addresses");
    }
    if (auto comment = line.option("comment")) info.comment = *comment;
}

void DomainCommand(const CommandLine& line)
{
    const std::string& name = line.positional(0, "domain name");
    net::DomainInfo domain{name, net::TrustedDomains(name)};
    if (line.option("trusts")) domain.trusts = line.list("trusts");
    net::SaveDomain(domain);
}

void ShareCommand(const CommandLine& line)
{
    const net::HostInfo host = requireHost(line.positional(0, "host name"));
    net::ShareInfo share;
    share.name = line.positional(1, "share name");
    const std::string type = line.option("type").value_or("disk");
    if (type != "disk" && type != "print") throw UsageError("a share is a disk or a print share, not " + type);
    share.type = type == "print" ? net::STYPE_PRINTQ : net::STYPE_DISKTREE;
    share.path = line.option("path").value_or("");
    share.remark = line.option("remark").value_or("");
    net::SaveShare(host, share);
}

void AccountCommand(const CommandLine& line)
{
    const net::HostInfo host = requireHost(line.positional(0, "host name"));
    const std::optional<net::AccountKind> kind = net::ParseAccountKind(line.option("kind").value_or(""));
    if (!kind) throw UsageError("--kind must be user, global or local");
    net::Account account{line.positional(1, "account name"), *kind, line.option("full-name").value_or(""),
                         line.option("comment").value_or(""), line.list("members"), ""};
    std::cout << net::SaveAccount(host, account).sid << "\n";
}

void AclCommand(const CommandLine& line)
{
    const std::string& target = line.positional(0, "path");
    net::SecurityDescriptor security;
    if (line.flag("empty")) {
        security.dacl.emplace();
    } else if (!line.flag("missing")) {
        if (!line.option("entries")) throw UsageError("give --entries, --empty or --missing");
        const net::AccountDirectory directory;
        security.dacl.emplace();
        for (const std::string& entry : line.list("entries")) security.dacl->push_back(parseEntry(entry, directory));
    }
    if (line.flag("share")) net::WriteShareSecurity(target, security);
    else net::WriteFileSecurity(target, security);
}

void ConnectCommand(const CommandLine& line)
{
    const std::string& remote = line.positional(0, "\\\\HOST\\SHARE");
    const std::optional<std::string> user = line.option("user");
    if (!user) throw UsageError("missing --user");
    if (const long code = net::AddConnection(remote, *user, false)) net::FailWithCode(code, remote);
}

void DisconnectCommand(const CommandLine& line)
{
    const std::string& remote = line.positional(0, "\\\\HOST\\SHARE");
    if (const long code = net::CancelConnection(remote)) net::FailWithCode(code, remote);
}

void ShowCommand(const CommandLine& line)
{
    if (line.positionalCount() == 0) return showNetwork();
    showHost(requireHost(line.positional(0, "host name")));
}
