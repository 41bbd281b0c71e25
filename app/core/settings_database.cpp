#include "app/core/settings_database.h"

#include "app/core/error_trap.h"
#include "app/core/text_lists.h"

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
