#pragma once
// A temporary network root whose local host LOCALPC holds the registry that
// class lookup and registration use.

#include "platform/com/registry_handle.h"
#include "platform/net/network.h"
#include "support/network_root.h"

#include <gtest/gtest.h>

namespace com_testing {

class LocalNetworkTest : public ::testing::Test {
protected:
    void SetUp() override { net::InitializeNetwork({"LOCALPC", {"TARVEXNET"}}); }

    // Creates HKCR\<path> with the given default value.
    static void WriteClassesRoot(const std::string& path, const std::string& text)
    {
        com::RegistryHandle key;
        ASSERT_EQ(winreg::CreateKey(winreg::HKEY_CLASSES_ROOT, path, false, key.receive()), winreg::ERROR_SUCCESS);
        ASSERT_EQ(com::WriteRegistryString(key.get(), "", text), winreg::ERROR_SUCCESS);
    }

    testing_support::TemporaryNetworkRoot root;
};

} // namespace com_testing
