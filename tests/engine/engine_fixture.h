#pragma once
// A test of the replication engine: a temporary network with store servers, a
// temporary program folder with a fresh settings database, the shared state
// reset, the fake forms installed and message boxes answered by a script.

#include "fake_forms.h"

#include "app/core/settings_database.h"
#include "platform/store/admin.h"
#include "platform/store/roles.h"
#include "platform/ui/message_box.h"
#include "support/store_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace engine_testing {

struct ReportRow {
    std::string source;
    std::string destination;
    std::string size;
    std::string remark;
    friend bool operator==(const ReportRow&, const ReportRow&) = default;
};

struct PropertyRow {
    std::string name;
    std::string workspace;
    std::string status;
    friend bool operator==(const PropertyRow&, const PropertyRow&) = default;
};

// Whether the current user can open an item at url.
bool ItemExists(const std::string& url);
// The role lists in force on a folder or workspace.
store::RoleLists RolesOf(const std::string& url);

// What the report accumulators hold once the rows waiting for their flushes
// are settled.
std::vector<ReportRow> ReportRows();
std::vector<PropertyRow> PropertyRows();

void PrintTo(const ReportRow& row, std::ostream* out);
void PrintTo(const PropertyRow& row, std::ostream* out);

class EngineTest : public ::testing::Test {
protected:
    EngineTest();
    ~EngineTest() override;

    // The error log's entries ("No=...-due to -...in Tag"), header left out.
    std::vector<std::string> LoggedErrors() const;
    // Log entries that end with the tag.
    std::vector<std::string> LoggedErrors(const std::string& tag) const;

    // Registers the registry component into the local host of the network,
    // so that "Vornik.Registry" can be created.
    static void RegisterRegistryComponent();

    // Rewrites a settings table with the rows.
    static void WriteSettingsRows(const std::string& table, const std::vector<SettingsRow>& rows);
    static void SetRoleMapping(const std::string& readers, const std::string& authors, const std::string& coordinators);

    // Servers SRC and DST, each with a workspace "Team".
    void AddTeamWorkspaces();

    testing_support::StoreNetwork network;
    testing_support::TempFolder programFolder;
    ui::ScriptedMessageBoxes messages;
    FakeImportingForm importing;
    FakeRoleMappingForm roleMapping;
    FakeMainWindow mainWindow;
};

} // namespace engine_testing
