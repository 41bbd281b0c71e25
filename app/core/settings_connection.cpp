#include "app/core/settings_connection.h"

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
