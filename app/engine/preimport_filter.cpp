#include "app/engine/preimport_filter.h"

#include "app/core/error_trap.h"
#include "app/core/runtime_errors.h"
#include "app/core/settings_database.h"
#include "app/engine/record_walk.h"
#include "platform/net/case_fold.h"
#include "platform/store/errors.h"
#include "platform/store/sps.h"

namespace {

// The filter's view of a store document.
class StoreFilterDocument : public FilterDocument {
public:
    explicit StoreFilterDocument(const store::SpsDocument& document) : document_(document) {}

    com::Variant property(const std::string& name) const override { return document_.property(name); }
    com::Variant firstListProperty() const override { return document_.firstListProperty(); }
    com::Variant secondListProperty() const override { return document_.secondListProperty(); }

private:
    const store::SpsDocument& document_;
};

PreimportFilterRow ReadFilterRow(ErrorTrap& trap, const ado::Recordset& rows)
{
    PreimportFilterRow row;
    trap.step([&] { row.propertyName = FieldText(rows, 0); });
    trap.step([&] { row.metaData = FieldText(rows, 1); });
    trap.step([&] { row.checked = FieldText(rows, 2); });
    trap.step([&] { row.dataType = FieldText(rows, 3); });
    return row;
}

bool IsDataType(const PreimportFilterRow& row, std::string_view upperCaseName)
{
    return net::EqualsIgnoringCase(row.dataType, upperCaseName);
}

} // namespace

std::string FilterPropertyName(const std::string& propertyName)
{
    return "urn:schemas-microsoft-com:office:office#" + propertyName;
}

bool IsCheckedFilterRow(const PreimportFilterRow& row) { return net::EqualsIgnoringCase(row.checked, "True"); }

std::string JoinedListText(const com::Variant& values)
{
    const com::Variant& list = values.deref();
    if (!list.isArray()) return list.isEmpty() || list.isNull() ? std::string() : list.toString();
    std::string joined;
    const com::SafeArray& array = list.array();
    for (std::size_t i = 0; i < array.elements.size(); ++i) {
        if (i > 0) joined += ";";
        joined += array.elements[i].toString();
    }
    return joined;
}

bool FilterRowMatches(const PreimportFilterRow& row, const FilterDocument& document)
{
    const auto propertyText = [&] { return document.property(FilterPropertyName(row.propertyName)).toString(); };
    if (IsDataType(row, "COMMENT BOX")) return net::EqualsIgnoringCase(propertyText(), row.metaData);
    if (IsDataType(row, "DATE")) return net::EqualsIgnoringCase(propertyText(), row.metaData + " 12:00:00 PM");
    if (IsDataType(row, "LIST") || IsDataType(row, "MULTIVALUE LIST")) {
        return net::EqualsIgnoringCase(JoinedListText(document.firstListProperty()), row.metaData) ||
               net::EqualsIgnoringCase(JoinedListText(document.secondListProperty()), row.metaData);
    }
    return true;
}

bool CheckPreimportFilter(const store::SpsDocument& document)
{
    ErrorTrap trap("Has to be Saved");
    trap.on({kTypeMismatch, store::errPropertyNotFound});

    bool passes = true;
    ado::Recordset rows = trap.value([] { return SelectSettingsTable("tblPreimportSettings"); }, EmptyRecordset());
    const StoreFilterDocument subject(document);
    for (; !AtEnd(trap, rows); MoveNext(trap, rows)) {
        const PreimportFilterRow row = ReadFilterRow(trap, rows);
        if (!IsCheckedFilterRow(row)) {
            passes = true;
            continue;
        }
        passes = trap.value([&] { return FilterRowMatches(row, subject); }, false);
        if (!passes) break;
    }
    return passes;
}
