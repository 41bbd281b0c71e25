#pragma once
// A network with the local host LOCALPC and the document-store server SRV1
// (whose registry the current user may read and write), the registry
// component registered into LOCALPC, and the test running in a folder of its
// own (the component writes its log into the current folder). The component
// is reached only by ProgID, as the program reaches it.

#include "platform/com/error_info.h"
#include "platform/com/module_loader.h"
#include "platform/com/object.h"
#include "platform/com/registry_handle.h"
#include "platform/net/network.h"
#include "support/network_root.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

namespace vornik_testing {

inline std::string BuildBin()
{
    const char* bin = std::getenv("TARVEX_BUILD_BIN");
    return bin ? bin : ".";
}

inline std::string VornikModulePath() { return BuildBin() + "/Vornik.so"; }

inline constexpr com::HRESULT RegistryCallFailed = com::MakeHResult(0x80040200);

// The number and text of the ComError that call throws.
inline std::pair<com::HRESULT, std::string> Failure(const std::function<void()>& call)
{
    try {
        call();
    } catch (const com::ComError& error) {
        return {error.number(), error.description()};
    }
    return {com::S_OK, "no error"};
}

// The component's error for a failed registry call with this code.
inline std::pair<com::HRESULT, std::string> RegistryError(winreg::Status code)
{
    return {RegistryCallFailed, winreg::SystemMessage(code)};
}

using Bytes = std::vector<std::uint8_t>;

class NetworkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        net::InitializeNetwork({"LOCALPC", {"TARVEXNET"}});
        net::HostInfo server;
        server.name = "SRV1";
        server.domain = "TARVEXNET";
        server.services = {"MSDMSERV"};
        server.administrators = {"TARVEXNET\\tester"};
        net::SaveHost(server);
        std::filesystem::current_path(workFolder.path());
        com::SetErrorInfo(std::nullopt);
    }
    void TearDown() override { std::filesystem::current_path(startFolder); }

    // Writes a value of the given type and bytes below HKLM of a host ("" local).
    static void WriteMachineValue(const std::string& host, const std::string& keyPath, const std::string& name,
                                  std::uint32_t type, const Bytes& data)
    {
        com::RegistryHandle machine;
        com::RegistryHandle key;
        ASSERT_EQ(winreg::ConnectRegistry(host, winreg::HKEY_LOCAL_MACHINE, machine.receive()), winreg::ERROR_SUCCESS);
        ASSERT_EQ(winreg::CreateKey(machine.get(), keyPath, false, key.receive()), winreg::ERROR_SUCCESS);
        ASSERT_EQ(winreg::SetValue(key.get(), name, type, data.data(), std::uint32_t(data.size())),
                  winreg::ERROR_SUCCESS);
    }

    // The type and bytes of a value of the local HKLM; type 0 when missing.
    static std::pair<std::uint32_t, Bytes> ReadMachineValue(const std::string& keyPath, const std::string& name)
    {
        com::RegistryHandle key;
        if (winreg::OpenKey(winreg::HKEY_LOCAL_MACHINE, keyPath, winreg::KEY_READ, key.receive())) return {0, {}};
        std::uint32_t type = 0, size = 0;
        if (winreg::QueryValue(key.get(), name, &type, nullptr, &size)) return {0, {}};
        Bytes data(size);
        winreg::QueryValue(key.get(), name, &type, data.data(), &size);
        return {type, data};
    }

    static bool MachineKeyExists(const std::string& keyPath)
    {
        com::RegistryHandle key;
        return winreg::OpenKey(winreg::HKEY_LOCAL_MACHINE, keyPath, winreg::KEY_READ, key.receive()) ==
               winreg::ERROR_SUCCESS;
    }

    testing_support::TemporaryNetworkRoot root;
    testing_support::ScopedEnv domain{"USERDOMAIN", "TARVEXNET"};
    testing_support::ScopedEnv user{"USERNAME", "tester"};
    testing_support::TempFolder workFolder;
    std::filesystem::path startFolder = std::filesystem::current_path();
};

class VornikTest : public NetworkTest {
protected:
    void SetUp() override
    {
        NetworkTest::SetUp();
        const auto& module = com::LoadModule(VornikModulePath());
        ASSERT_TRUE(module.registerServer);
        ASSERT_EQ(module.registerServer(), com::S_OK);
        registry = com::CreateObject("Vornik.Registry");
    }

    com::Object registry;
};

inline Bytes TextBytes(std::string_view text) { return {text.begin(), text.end()}; }

} // namespace vornik_testing
