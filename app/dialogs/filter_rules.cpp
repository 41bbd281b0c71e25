#include "app/dialogs/filter_rules.h"

#include "app/core/runtime_errors.h"
#include "app/engine/runtime_values.h"
#include "platform/net/case_fold.h"

#include <algorithm>

bool TruthValue(std::string_view text)
{
    std::string compact(text);
    compact.erase(std::remove(compact.begin(), compact.end(), ' '), compact.end());
    if (net::EqualsIgnoringCase(compact, "True")) return true;
    if (net::EqualsIgnoringCase(compact, "False")) return false;
    return NumberFromText(compact) != 0;
}

std::string CheckedText(bool checked) { return checked ? "True" : "False"; }

bool IsBlank(std::string_view text) { return Trim(text).empty(); }

std::vector<SettingsRow> PreimportSettingsRows(const std::vector<PreimportFilterRow>& rows)
{
    std::vector<SettingsRow> table;
    for (const PreimportFilterRow& row : rows)
        table.push_back({{"PropertyName", row.propertyName},
                         {"MetaData", row.metaData},
                         {"Checked", row.checked},
                         {"DataType", row.dataType}});
    return table;
}
