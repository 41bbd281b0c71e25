#pragma once
// The settings database TarvexDB.mdb in the program folder: its creation with
// the four tables and their default rows. The client-language row is read and
// written by the error log (error_log.h).

#include "app/core/settings_connection.h"

#include <string>
#include <vector>

class ErrorTrap;

// Opens the settings database and rewrites the table, each failure handled by
// the calling procedure's trap.
void RewriteSettingsTable(ErrorTrap& trap, const std::string& table, const std::vector<SettingsRow>& rows);

// The statements that create the four tables, in their order.
const std::vector<std::string>& SettingsTableDefinitions();

void CreateDatabase();
void InitializeDefaultMapping();
void InitializeUseParent();
