#pragma once
// Walking a record set inside a procedure whose errors go to its trap:
//
//     for (; !AtEnd(trap, items); MoveNext(trap, items)) { ... }
//
// A record set that cannot be read (closed, or the procedure has left) counts
// as being at its end, so a failed listing is an empty one and a walk always
// ends.

#include "platform/ado/recordset.h"

#include <string>

class ErrorTrap;

// An open record set without fields or rows: what a listing that cannot be
// read gives.
ado::Recordset EmptyRecordset();

bool AtEnd(ErrorTrap& trap, const ado::Recordset& rows);
void MoveNext(ErrorTrap& trap, ado::Recordset& rows);
// The items of the folder at url: the record set of its documents and schema
// items, or an empty one when the folder cannot be opened or listed.
ado::Recordset FolderItemsOrEmpty(ErrorTrap& trap, const std::string& url);

// Field index of the current row as text; a null value gives "".
std::string FieldText(const ado::Recordset& rows, int index);
// The current row's first field (an item's name) as text; empty on failure.
std::string RowName(ErrorTrap& trap, const ado::Recordset& rows);
