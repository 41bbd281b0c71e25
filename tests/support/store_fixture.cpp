#include "support/store_fixture.h"

#include "platform/net/network.h"

#include <cstdlib>
#include <stdexcept>

namespace testing_support {

namespace {

net::HostInfo existingHost(const std::string& host)
{
    std::optional<net::HostInfo> info = net::FindHost(host);
    if (!info) throw std::runtime_error("the test network has no host " + host);
    return *info;
}

} // namespace

com::HRESULT ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const com::ComError& error) {
        return error.number();
    }
    return com::S_OK;
}

std::string DescriptionOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const com::ComError& error) {
        return error.description();
    }
    return "no error";
}

StoreNetwork::StoreNetwork(const std::string& userName)
    : root_(folder_.path() / "network"),
      network_(std::make_unique<ScopedEnv>("TARVEX_NETWORK", root_.string())),
      domain_(std::make_unique<ScopedEnv>("USERDOMAIN", std::string(kDomain))),
      userName_(std::make_unique<ScopedEnv>("USERNAME", userName))
{
    net::InitializeNetwork({"WORKSTATION", {kDomain}});
}

StoreNetwork::~StoreNetwork() = default;

const std::filesystem::path& StoreNetwork::root() const
{
    return root_;
}

std::string StoreNetwork::user() const
{
    return std::string(std::getenv("USERDOMAIN")) + "\\" + std::getenv("USERNAME");
}

void StoreNetwork::actAs(const std::string& domain, const std::string& userName)
{
    setenv("USERDOMAIN", domain.c_str(), 1);
    setenv("USERNAME", userName.c_str(), 1);
}

void StoreNetwork::addHost(const std::string& host)
{
    net::HostInfo info;
    info.name = host;
    info.domain = kDomain;
    info.serverType = "server";
    net::SaveHost(info);
}

void StoreNetwork::addServer(const std::string& host, store::ServerLanguage language)
{
    addHost(host);
    setAdministrators(host, {user()});
    store::MakeStoreServer(host, language);
}

void StoreNetwork::setReachable(const std::string& host, bool reachable)
{
    net::HostInfo info = existingHost(host);
    info.reachable = reachable;
    net::SaveHost(info);
}

void StoreNetwork::setAdministrators(const std::string& host, const std::vector<std::string>& accounts)
{
    net::HostInfo info = existingHost(host);
    info.administrators = accounts;
    net::SaveHost(info);
}

std::filesystem::path StoreNetwork::storeFolder(const std::string& host) const
{
    return existingHost(host).folder / "store";
}

} // namespace testing_support
