#include "netperm_fixture.h"

#include "platform/com/module_loader.h"
#include "platform/net/atomic_file.h"
#include "platform/net/domains.h"
#include "platform/net/shares.h"

#include <cstdlib>
#include <filesystem>

namespace netperm_testing {

std::string BuildBin()
{
    const char* bin = std::getenv("TARVEX_BUILD_BIN");
    return bin ? bin : ".";
}

std::string NetpermModulePath() { return BuildBin() + "/Netperm.so"; }

std::pair<com::HRESULT, std::string> Failure(const std::function<void()>& call)
{
    try {
        call();
    } catch (const com::ComError& error) {
        return {error.number(), error.description()};
    }
    return {com::S_OK, "no error"};
}

std::pair<com::HRESULT, std::string> NetError(long code, const std::string& text)
{
    return {com::MakeHResult(0x80040000u | std::uint32_t(code)), text};
}

std::vector<std::string> Strings(const com::Variant& list)
{
    const com::Variant& value = list.deref();
    EXPECT_EQ(value.type(), com::VT_ARRAY | com::VT_VARIANT);
    if (!value.isArray()) return {"<not a list>"};
    EXPECT_EQ(value.array().lowerBound, 0);
    std::vector<std::string> texts;
    for (const com::Variant& element : value.array().elements)
        texts.push_back(element.isEmpty() ? "<empty>" : element.toString());
    return texts;
}

void NetpermTest::AddHost(const std::string& name, const std::string& domain, const std::string& type,
                          const std::string& osVersion, std::vector<std::string> services)
{
    net::HostInfo host;
    host.name = name;
    host.domain = domain;
    host.serverType = type;
    host.osVersion = osVersion;
    host.services = std::move(services);
    net::SaveHost(host);
}

void NetpermTest::AddAccount(const std::string& host, const std::string& name, net::AccountKind kind,
                             std::vector<std::string> members, const std::string& fullName,
                             const std::string& comment)
{
    net::SaveAccount(*net::FindHost(host), {name, kind, fullName, comment, std::move(members), ""});
}

std::string NetpermTest::Sid(const std::string& account)
{
    return net::AccountDirectory().lookupName(account).value().sid;
}

void NetpermTest::WriteDriveFile(const std::string& host, const std::string& path, const std::string& content)
{
    const std::filesystem::path file = net::FindHost(host)->folder / "drives" / "C" / path;
    std::filesystem::create_directories(file.parent_path());
    net::WriteFileAtomically(file, content);
}

void NetpermTest::SetUp()
{
    net::InitializeNetwork({"LOCALPC", {"CORP", "PARTNER", "EMPTYDOM"}});
    AddHost("LOCALPC", "CORP", "workstation", "5.0");
    AddHost("CORPDC", "CORP", "domain_controller", "5.0");
    AddHost("SPS2K", "CORP", "server", "5.0", {"W3SVC", "MSDMSERV"});
    AddHost("SPSNT4", "CORP", "server", "4.0", {"MSDMSERV"});
    AddHost("SPSDOWN", "CORP", "server", "5.0", {"MSDMSERV"});
    net::HostInfo down = *net::FindHost("SPSDOWN");
    down.reachable = false;
    net::SaveHost(down);
    AddHost("MAIL", "CORP", "server", "5.0", {"MSExchangeMTA"});
    AddHost("XPWKS", "CORP", "workstation", "5.1");
    AddHost("NTWKS", "CORP", "workstation", "4.0");
    AddHost("WIN98", "CORP", "windows9x", "4.10");
    AddHost("VISTA", "CORP", "server", "6.0");
    AddHost("PARTNERDC", "PARTNER", "domain_controller", "5.0");
    net::SaveDomain({"CORP", {"PARTNER"}});

    AddAccount("PARTNERDC", "paul", net::AccountKind::User);
    AddAccount("CORPDC", "anna", net::AccountKind::User, {}, "Anna Berg", "Sales");
    AddAccount("CORPDC", "bob", net::AccountKind::User, {}, "Bob Stone", "");
    AddAccount("CORPDC", "WKS1$", net::AccountKind::User);
    AddAccount("CORPDC", "Domain Users", net::AccountKind::GlobalGroup, {"anna", "bob", "WKS1$"});
    AddAccount("CORPDC", "Sales", net::AccountKind::GlobalGroup, {"anna"});
    AddAccount("CORPDC", "Administrators", net::AccountKind::LocalGroup, {"CORP\\Domain Users"});
    AddAccount("CORPDC", "Editors", net::AccountKind::LocalGroup,
               {"CORP\\anna", "PARTNER\\paul", "Everyone", "S-1-5-21-1-2-3-4242"});

    const auto& module = com::LoadModule(NetpermModulePath());
    ASSERT_TRUE(module.registerServer);
    ASSERT_EQ(module.registerServer(), com::S_OK);
    shares = com::CreateObject("Netperm.CSPShares.1");
    com::SetErrorInfo(std::nullopt);
}

} // namespace netperm_testing
