#pragma once
// A network root with the local host LOCALPC, and the current user
// TARVEXNET\tester, for one registry test.

#include "platform/net/network.h"
#include "platform/registry/registry.h"
#include "support/network_root.h"

#include <gtest/gtest.h>

#include <utility>

namespace registry_testing {

using namespace winreg;

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { net::InitializeNetwork({"LOCALPC", {"TARVEXNET"}}); }

    std::filesystem::path hostFolder(const std::string& host = "LOCALPC") const { return root.path() / "hosts" / host; }
    std::filesystem::path hiveFile(const std::string& file, const std::string& host = "LOCALPC") const
    {
        return hostFolder(host) / "registry" / file;
    }

    HKEY create(HKEY parent, std::string_view path, bool isVolatile = false)
    {
        HKEY key = 0;
        EXPECT_EQ(CreateKey(parent, path, isVolatile, &key), ERROR_SUCCESS) << path;
        return key;
    }

    static Status set(HKEY key, std::string_view name, std::uint32_t type, const std::vector<std::uint8_t>& bytes)
    {
        return SetValue(key, name, type, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    }

    // The value's type and bytes, read with the size query first as callers do.
    static std::pair<std::uint32_t, std::vector<std::uint8_t>> query(HKEY key, std::string_view name)
    {
        std::uint32_t type = 0, size = 0;
        EXPECT_EQ(QueryValue(key, name, &type, nullptr, &size), ERROR_SUCCESS) << name;
        std::vector<std::uint8_t> bytes(size);
        EXPECT_EQ(QueryValue(key, name, &type, bytes.data(), &size), ERROR_SUCCESS) << name;
        return {type, bytes};
    }

    static std::vector<std::string> subkeys(HKEY key)
    {
        std::vector<std::string> names;
        std::string name;
        for (std::uint32_t i = 0; EnumKey(key, i, &name) == ERROR_SUCCESS; ++i) names.push_back(name);
        return names;
    }

    testing_support::TemporaryNetworkRoot root;
    testing_support::ScopedEnv domain{"USERDOMAIN", "TARVEXNET"};
    testing_support::ScopedEnv user{"USERNAME", "tester"};
};

inline std::vector<std::uint8_t> Bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

} // namespace registry_testing
