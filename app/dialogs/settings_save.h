#pragma once
// How the settings dialogs store what the user chose: one table rewrite in a
// transaction. A rewrite that fails is not silent: it is logged with the
// saving procedure's tag, the user is told, and the table keeps its old rows.

#include "app/core/settings_database.h"

#include <string>
#include <vector>

// Rewrites the table with the rows; false (after logging under tag and
// showing failureMessage) when the rewrite failed.
bool SaveSettingsTable(const std::string& tag, const std::string& table, const std::vector<SettingsRow>& rows,
                       const std::string& failureMessage);
