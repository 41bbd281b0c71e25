#pragma once
// What the creation operations share: the bound of a replacement, the checks
// made before anything is written, and the rows of items that are written.

#include "app/core/error_trap.h"
#include "app/engine/url_levels.h"
#include "platform/store/write_scope.h"

#include <string>

// An item that already exists in the destination is replaced by one nested
// call, which writes the new item whole before it takes the old one's place.
// When the nested call meets an existing item once more, the old item cannot
// be replaced, and the item counts as failed instead of being tried again and
// again.
enum class CreationAttempt { First, Replacement };

// The row of the error table for an item that exists in the destination: it
// sets exists, and the first attempt goes on to replace the item. A
// replacement that meets it once more logs why it cannot take its place.
void OnItemExists(ErrorTrap& trap, CreationAttempt attempt, bool& exists);

// The remark of an entry that would be copied onto its own source or into it.
inline constexpr const char* kCopyOntoItselfRemark =
    "Not replicated: the destination is the source itself or lies inside it.";

// One row of the report: an item copied, or not.
struct ItemRow {
    std::string source;
    std::string destination;
    std::string size;
    std::string remark;
};

// Checks a copy's target before anything is written (CheckCopyTarget); a
// refused copy is reported by ReportRefusedCopy, and true then.
bool CopyRefused(ErrorTrap& trap, const std::string& source, const std::string& target, ItemRow row,
                 const std::string& notSavedRemark);
// A copy refused before anything was written: logged under the trap's
// procedure, and reported as row (its source and destination as the entry
// names them) with the remark for the refusal (notSavedRemark for a target
// that names no item); it counts as failed.
void ReportRefusedCopy(ErrorTrap& trap, CopyRefusal refusal, ItemRow row, const std::string& notSavedRemark = {});

// Records row for an item the scope wrote and counts it replicated, while the
// scope's writes are flushed; the row is settled when they are durable (see
// AppendReportEntryWhenDurable). When the flush fails (logged with the trap's
// tag), the row's remark becomes failureRemark and the item counts as failed.
void ReportWhenDurable(ErrorTrap& trap, store::WriteScope& scope, ItemRow row, const std::string& failureRemark);

// Records a failed item's row and counts it.
void ReportFailure(const ItemRow& row);

// Makes what the scope wrote durable, whether or not the procedure has left;
// false when that failed (logged with the trap's tag).
bool Committed(ErrorTrap& trap, store::WriteScope& scope);
