#pragma once
// A network built for the share and permission component, which is
// registered into its local host and reached only by ProgID, as the program
// reaches it:
//
//   CORP (controller CORPDC, trusts PARTNER)
//     SPS2K    Windows 2000 server running the document store, with shares
//     SPSNT4   NT 4.0 server running the document store
//     SPSDOWN  Windows 2000 store server that can no longer be reached
//     MAIL     Windows 2000 server running Exchange
//     XPWKS    Windows XP workstation (5.1)      NTWKS   NT 4.0 workstation
//     WIN98    Windows 98                         VISTA   a version 6.0 server
//     LOCALPC  the local host, a workstation
//   PARTNER (controller PARTNERDC)
//   EMPTYDOM (listed, without machines)
//
// CORPDC holds the users anna, bob and the machine account WKS1$, the global
// groups Domain Users and Sales, and the local groups Administrators and
// Editors; PARTNERDC holds the user paul.

#include "platform/com/error_info.h"
#include "platform/com/object.h"
#include "platform/net/accounts.h"
#include "platform/net/sessions.h"
#include "platform/ui/message_box.h"
#include "support/network_root.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace netperm_testing {

std::string BuildBin();
std::string NetpermModulePath();

// The number and text of the ComError that call throws.
std::pair<com::HRESULT, std::string> Failure(const std::function<void()>& call);

// The component's error for a system code: 0x80040000 | code with its text.
std::pair<com::HRESULT, std::string> NetError(long code, const std::string& text);

// The elements of a list result, which must be a VT_ARRAY | VT_VARIANT with
// lower bound 0; an empty element reads "<empty>".
std::vector<std::string> Strings(const com::Variant& list);

// Passes a Variant by reference, as an out argument.
inline com::Variant Out(com::Variant& target) { return com::Variant::ByRef(&target); }

class NetpermTest : public ::testing::Test {
protected:
    void SetUp() override;

    static void AddHost(const std::string& name, const std::string& domain, const std::string& type,
                        const std::string& osVersion, std::vector<std::string> services = {});
    static void AddAccount(const std::string& host, const std::string& name, net::AccountKind kind,
                           std::vector<std::string> members = {}, const std::string& fullName = "",
                           const std::string& comment = "");
    // The SID of "DOMAIN\name" or a well-known name.
    static std::string Sid(const std::string& account);
    // Writes a file of a host's drive C ("dir/file"), creating its folders.
    static void WriteDriveFile(const std::string& host, const std::string& path, const std::string& content);

    testing_support::TemporaryNetworkRoot root;
    testing_support::ScopedEnv userDomain{"USERDOMAIN", "CORP"};
    testing_support::ScopedEnv userName{"USERNAME", "anna"};
    ui::ScriptedMessageBoxes boxes;
    net::ScriptedSessionPrompts prompts;
    com::Object shares;
};

} // namespace netperm_testing
