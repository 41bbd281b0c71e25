#pragma once
// The pre-import filter: the checked rows of tblPreimportSettings decide from
// a document's property values whether it may be copied.

#include "platform/com/variant.h"

#include <string>

namespace store {
class SpsDocument;
}

// One row of tblPreimportSettings.
struct PreimportFilterRow {
    std::string propertyName;
    std::string metaData;
    std::string checked;  // "True" or "False"
    std::string dataType; // "Text", "Number", "List", "Multivalue List", "Comment box", "Date"
};

// What the filter reads of a document. Reading a property it lacks throws.
class FilterDocument {
public:
    virtual ~FilterDocument() = default;
    virtual com::Variant property(const std::string& name) const = 0;
    virtual com::Variant firstListProperty() const = 0;
    virtual com::Variant secondListProperty() const = 0;
};

// The document property a row tests.
std::string FilterPropertyName(const std::string& propertyName);
// Whether the row is in force ("True" in any letter case).
bool IsCheckedFilterRow(const PreimportFilterRow& row);
// The list's values joined with ";" in index order.
std::string JoinedListText(const com::Variant& values);

// Whether the document matches a checked row:
//   "Comment box": the property's text equals MetaData (any letter case);
//   "Date":        the property's text equals MetaData & " 12:00:00 PM";
//   "List", "Multivalue List": the first list property, joined, equals
//                  MetaData, else the second one does (any letter case);
//   "Text", "Number" and unknown types carry no test and match.
// A property that cannot be read throws, and the caller counts the row as
// a mismatch.
bool FilterRowMatches(const PreimportFilterRow& row, const FilterDocument& document);

// True when no checked row of the settings database mismatches the document;
// the first mismatch decides. A database or table that cannot be read lets
// every document pass.
bool CheckPreimportFilter(const store::SpsDocument& document);
