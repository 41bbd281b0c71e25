#include "engine_fixture.h"

#include "app/core/error_log.h"
#include "app/core/report_entries.h"
#include "app/core/shared_state.h"
#include "app/core/text_lists.h"
#include "platform/com/module_loader.h"
#include "platform/store/admin.h"
#include "platform/store/sps.h"
#include "platform/sys/program_folder.h"

#include <cstdlib>
#include <sstream>

namespace engine_testing {

namespace {

std::vector<std::string> Entries(const std::string& list, const std::string& separator)
{
    std::vector<std::string> parts = SplitText(list, separator);
    if (!parts.empty()) parts.erase(parts.begin());
    return parts;
}

std::string BuildBin()
{
    const char* bin = std::getenv("TARVEX_BUILD_BIN");
    return bin ? bin : ".";
}

} // namespace

bool ItemExists(const std::string& url)
{
    try {
        store::SpsDocument item;
        item.DataSource().Open(url);
        return true;
    } catch (const com::ComError&) {
        return false;
    }
}

store::RoleLists RolesOf(const std::string& url)
{
    store::SpsFolder folder;
    folder.DataSource().Open(url);
    return {store::AccountsFromVariant(folder.readers()), store::AccountsFromVariant(folder.authors()),
            store::AccountsFromVariant(folder.coordinators())};
}

std::vector<ReportRow> ReportRows()
{
    SettleReportEntries();
    const auto sources = Entries(gReportSrc, "##");
    const auto destinations = Entries(gReportDest, "##");
    const auto sizes = Entries(gReportSize, "##");
    const auto remarks = Entries(gReportStatus, "##");
    EXPECT_EQ(sources.size(), destinations.size());
    EXPECT_EQ(sources.size(), sizes.size());
    EXPECT_EQ(sources.size(), remarks.size());
    std::vector<ReportRow> rows;
    for (std::size_t i = 0; i < sources.size() && i < destinations.size() && i < sizes.size() && i < remarks.size(); ++i)
        rows.push_back({sources[i], destinations[i], sizes[i], remarks[i]});
    return rows;
}

std::vector<PropertyRow> PropertyRows()
{
    const auto names = Entries(gLogPropertyNames, "$$");
    const auto workspaces = Entries(gLogPropertyWorkspaces, "$$");
    const auto statuses = Entries(gLogPropertyStatus, "$$");
    EXPECT_EQ(names.size(), workspaces.size());
    EXPECT_EQ(names.size(), statuses.size());
    std::vector<PropertyRow> rows;
    for (std::size_t i = 0; i < names.size() && i < workspaces.size() && i < statuses.size(); ++i)
        rows.push_back({names[i], workspaces[i], statuses[i]});
    return rows;
}

void PrintTo(const ReportRow& row, std::ostream* out)
{
    *out << "{" << row.source << " | " << row.destination << " | " << row.size << " | " << row.remark << "}";
}

void PrintTo(const PropertyRow& row, std::ostream* out)
{
    *out << "{" << row.name << " | " << row.workspace << " | " << row.status << "}";
}

EngineTest::EngineTest()
{
    sys::SetProgramFolderForTesting(programFolder.path());
    ResetSharedStateForTesting();
    CreateDatabase();
    InstallImportingForm(&importing);
    InstallRoleMappingForm(&roleMapping);
    InstallMainWindowForm(&mainWindow);
}

EngineTest::~EngineTest()
{
    InstallImportingForm(nullptr);
    InstallRoleMappingForm(nullptr);
    InstallMainWindowForm(nullptr);
    ResetSharedStateForTesting();
    sys::SetProgramFolderForTesting({});
}

std::vector<std::string> EngineTest::LoggedErrors() const
{
    std::vector<std::string> entries;
    std::istringstream log(testing_support::ReadFile(ErrorLogFile()));
    for (std::string line; std::getline(log, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto separator = line.find(" -- No=");
        if (separator != std::string::npos) entries.push_back(line.substr(separator + 4));
    }
    return entries;
}

std::vector<std::string> EngineTest::LoggedErrors(const std::string& tag) const
{
    std::vector<std::string> tagged;
    for (const std::string& entry : LoggedErrors())
        if (entry.size() >= tag.size() && entry.compare(entry.size() - tag.size(), tag.size(), tag) == 0)
            tagged.push_back(entry);
    return tagged;
}

void EngineTest::AddTeamWorkspaces()
{
    for (const char* server : {"SRC", "DST"}) {
        network.addServer(server);
        store::AddWorkspace(server, "Team");
    }
}

void EngineTest::RegisterRegistryComponent()
{
    const com::ModuleEntryPoints& module = com::LoadModule(BuildBin() + "/Vornik.so");
    ASSERT_TRUE(module.registerServer);
    ASSERT_EQ(module.registerServer(), com::S_OK);
}

void EngineTest::WriteSettingsRows(const std::string& table, const std::vector<SettingsRow>& rows)
{
    SettingsConnection connection;
    connection.open();
    connection.rewriteTable(table, rows);
    connection.close();
}

void EngineTest::SetRoleMapping(const std::string& readers, const std::string& authors, const std::string& coordinators)
{
    WriteSettingsRows("tblPermissions", {{{"SourceRole", "Readers"}, {"DestinationRole", readers}},
                                         {{"SourceRole", "Authors"}, {"DestinationRole", authors}},
                                         {{"SourceRole", "Coordinators"}, {"DestinationRole", coordinators}}});
}

} // namespace engine_testing
