#include "bench_network.h"

#include "platform/net/network.h"
#include "platform/store/admin.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace bench {

std::filesystem::path MakeBenchNetwork()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tarvex-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
    const std::filesystem::path root = pattern;
    ::setenv("TARVEX_NETWORK", (root / "network").c_str(), 1);
    ::setenv("USERDOMAIN", "BENCH", 1);
    ::setenv("USERNAME", "bench", 1);

    net::InitializeNetwork({"WORKSTATION", {"BENCH"}});
    net::HostInfo host;
    host.name = "SRV";
    host.administrators = {"BENCH\\bench"};
    net::SaveHost(host);
    store::MakeStoreServer("SRV", store::ServerLanguage::English);
    return root;
}

} // namespace bench
