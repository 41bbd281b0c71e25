#include "dialog_fixture.h"

#include "app/core/settings_database.h"

#include <cstdlib>
#include <filesystem>

namespace dialog_testing {

TableRows ReadTable(const std::string& table)
{
    SettingsConnection connection;
    connection.open();
    ado::Recordset records = connection.select(table);
    TableRows rows;
    for (; !records.eof(); records.moveNext()) {
        std::vector<std::string> fields;
        for (int i = 0; i < records.fieldCount(); ++i) fields.push_back(records.field(i).toString());
        rows.push_back(fields);
    }
    return rows;
}

void RefuseNewRows(const std::string& table)
{
    SettingsConnection connection;
    connection.open();
    connection.execute("create trigger refuse_rows before insert on " + table +
                       " begin select raise(abort, 'attempt to write a readonly database'); end");
}

void DialogTest::InstallAnimation() const
{
    const char* bin = std::getenv("TARVEX_BUILD_BIN");
    std::filesystem::copy_file(std::filesystem::path(bin ? bin : ".") / "importing.avi",
                               programFolder.path() / "importing.avi");
}

} // namespace dialog_testing
