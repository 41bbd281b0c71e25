#pragma once
// A temporary simulated network for tests that need store servers: its own
// network root (TARVEXNET domain) and a current user set through USERDOMAIN and
// USERNAME, both restored when the object goes. Items are then made with the
// builders of platform/store/admin.h, e.g.
//
//   testing_support::StoreNetwork network;             // user TARVEXNET\tester
//   network.addServer("SRC");                           // English store server
//   const auto ws = store::AddWorkspace("SRC", "Team"); // "http://SRC/Team"
//   store::AddDocument(ws + "/Documents", "a.txt", store::DocumentSpec("hello"));

#include "platform/store/admin.h"
#include "support/scoped_env.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

// The error number that action throws as a ComError; S_OK when it succeeds.
com::HRESULT ErrorOf(const std::function<void()>& action);
// The description of that error; "no error" when it succeeds.
std::string DescriptionOf(const std::function<void()>& action);

class StoreNetwork {
public:
    static constexpr const char* kDomain = "TARVEXNET";

    explicit StoreNetwork(const std::string& userName = "tester");
    ~StoreNetwork();
    StoreNetwork(const StoreNetwork&) = delete;
    StoreNetwork& operator=(const StoreNetwork&) = delete;

    const std::filesystem::path& root() const;
    // The current user, "DOMAIN\name".
    std::string user() const;
    // Makes "domain\userName" the current user from now on.
    void actAs(const std::string& domain, const std::string& userName);

    // A reachable host in the TARVEXNET domain without a store.
    void addHost(const std::string& host);
    // A store server whose administrator is the current user.
    void addServer(const std::string& host, store::ServerLanguage language = store::ServerLanguage::English);
    void setReachable(const std::string& host, bool reachable);
    void setAdministrators(const std::string& host, const std::vector<std::string>& accounts);
    // The folder that stands for the host's store ("hosts/HOST/store").
    std::filesystem::path storeFolder(const std::string& host) const;

private:
    TempFolder folder_;
    std::filesystem::path root_;
    std::unique_ptr<ScopedEnv> network_;
    std::unique_ptr<ScopedEnv> domain_;
    std::unique_ptr<ScopedEnv> userName_;
};

// A store server SRV with the workspace Team, for tests of the items in its
// Documents folder.
class DocumentsFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        network.addServer("SRV");
        documents = store::AddWorkspace("SRV", "Team") + "/Documents";
        folder = network.storeFolder("SRV") / "Team" / "Documents";
    }

    StoreNetwork network;
    std::string documents;         // its URL
    std::filesystem::path folder;  // the folder that holds its items
};

} // namespace testing_support
