#include "app/core/settings_database.h"

#include "app/core/error_trap.h"
#include "app/core/text_lists.h"
#include "platform/ado/table_recordset.h"
#include "platform/sys/program_folder.h"
#include "platform/ui/do_events.h"

std::filesystem::path SettingsDatabasePath() { return sys::ProgramFolder() / "TarvexDB.mdb"; }

void SettingsConnection::open() { connection_.open(SettingsDatabasePath(), "", ""); }

void SettingsConnection::execute(const std::string& statement) { connection_.execute(statement); }

ado::Recordset SettingsConnection::select(const std::string& table)
{
    ado::RequirePlainTableName(table);
    return connection_.openStatic("select * from " + table);
}

void SettingsConnection::rewriteTable(const std::string& table, const std::vector<SettingsRow>& rows)
{
    ado::RequirePlainTableName(table);
    ado::Transaction transaction(connection_);
    connection_.execute("delete * from " + table);
    ui::DoEvents();
    ado::TableRecordset records(connection_, table);
    ui::DoEvents();
    for (const SettingsRow& row : rows) {
        records.addNew();
        for (const auto& [column, value] : row) records.setField(column, value);
        records.update();
        ui::DoEvents();
    }
    transaction.commit();
}

void RewriteSettingsTable(ErrorTrap& trap, const std::string& table, const std::vector<SettingsRow>& rows)
{
    SettingsConnection connection;
    trap.step([&] { connection.open(); });
    if (connection.isOpen()) trap.step([&] { connection.rewriteTable(table, rows); });
}

const std::vector<std::string>& SettingsTableDefinitions()
{
    static const std::vector<std::string> statements{
        "Create Table tblPreimportSettings(PropertyName  text(255),MetaData text(255),Checked text(255),DataType text(255))",
        "Create Table tblPermissions(SourceRole  text(255),DestinationRole text(255))",
        "Create Table tblSecurity(UseParent  text(255))",
        "Create Table tblSPSClient(LanguageSPS  text(255))",
    };
    return statements;
}

void CreateDatabase()
{
    ErrorTrap trap("in CreateDatabase");
    const std::filesystem::path file = SettingsDatabasePath();
    std::error_code error;
    if (std::filesystem::exists(file, error)) return;

    trap.step([&] { ado::CreateDatabaseFile(file); });
    SettingsConnection connection;
    trap.step([&] { connection.open(); });
    if (connection.isOpen()) {
        for (const std::string& statement : SettingsTableDefinitions())
            trap.step([&] { connection.execute(statement); });
    }
    connection.close();

    InitializeDefaultMapping();
    InitializeUseParent();
}

void InitializeDefaultMapping()
{
    ErrorTrap trap("in InitializeDefaultMapping");
    const std::vector<std::string> roles = SplitText("Readers||Authors||Coordinators", "||");
    std::vector<SettingsRow> rows;
    for (std::size_t index = 0; index < roles.size(); ++index)
        rows.push_back({{"SourceRole", roles[index]}, {"DestinationRole", std::to_string(index)}});
    RewriteSettingsTable(trap, "tblPermissions", rows);
}

void InitializeUseParent()
{
    ErrorTrap trap("in InitializeUseParent");
    RewriteSettingsTable(trap, "tblSecurity", {{{"UseParent", "True"}}});
}

std::string GetSPSClientConfig()
{
    ErrorTrap trap("in GetSPSClientConfig");
    SettingsConnection connection;
    trap.step([&] { connection.open(); });
    if (!connection.isOpen()) return {};
    const ado::Recordset records = trap.value([&] { return connection.select("tblSPSClient"); });
    return trap.value([&] { return records.field(0).toString(); });
}

void storeSPSClientConfig(const std::string& language)
{
    ErrorTrap trap("in storeSPSClientConfig");
    RewriteSettingsTable(trap, "tblSPSClient", {{{"LanguageSPS", language}}});
}
