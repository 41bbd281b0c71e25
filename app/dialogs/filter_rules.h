#pragma once
// The filter rows as the filter-settings dialog shows and stores them in
// tblPreimportSettings (the rows the engine's pre-import filter applies).

#include "app/core/settings_database.h"
#include "app/engine/preimport_filter.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

// The data types in the order of the drop-down list; the first is the default.
inline constexpr std::array<const char*, 6> kFilterDataTypes = {"Text",     "Number",      "List",
                                                                "Multivalue List", "Comment box", "Date"};

inline constexpr const char* kPropertyNameMissing = "please sepcify the property name.";
inline constexpr const char* kMetadataMissing = "please sepcify the metadata value.";

// The truth value of a stored Checked text with its blanks removed: "True" or
// "False" in any letter case, or a number (any but 0 is true); kTypeMismatch
// for anything else.
bool TruthValue(std::string_view text);
// How a check box is stored: "True" or "False".
std::string CheckedText(bool checked);

// Whether the text is empty or blanks only: such a name or value is refused.
bool IsBlank(std::string_view text);

// The table rows for the filter rows, in the same order.
std::vector<SettingsRow> PreimportSettingsRows(const std::vector<PreimportFilterRow>& rows);
