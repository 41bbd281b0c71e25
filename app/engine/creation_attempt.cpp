#include "app/engine/creation_attempt.h"

#include "app/core/error_catch.h"
#include "app/core/error_log.h"
#include "app/core/report_entries.h"
#include "app/core/shared_state.h"
#include "platform/com/hresult.h"
#include "platform/store/errors.h"

namespace {

std::string RefusalText(CopyRefusal refusal, const std::string& source, const std::string& target)
{
    if (refusal == CopyRefusal::NoItemNamed) return "\"" + target + "\" names no item inside a workspace";
    return "\"" + source + "\" cannot be copied onto itself or into a folder inside it (\"" + target + "\")";
}

} // namespace

void OnItemExists(ErrorTrap& trap, CreationAttempt attempt, bool& exists)
{
    ErrorRule& rule = trap.on(store::errItemExists, [&exists] { exists = true; });
    if (attempt == CreationAttempt::Replacement) rule.log();
}

bool CopyRefused(ErrorTrap& trap, const std::string& source, const std::string& target, ItemRow row,
                 const std::string& notSavedRemark)
{
    const CopyRefusal refusal = CheckCopyTarget(source, target);
    if (refusal == CopyRefusal::None) return false;
    ReportRefusedCopy(trap, refusal, std::move(row), notSavedRemark);
    return true;
}

void ReportRefusedCopy(ErrorTrap& trap, CopyRefusal refusal, ItemRow row, const std::string& notSavedRemark)
{
    trap.logError(com::E_INVALIDARG, RefusalText(refusal, row.source, row.destination));
    row.remark = refusal == CopyRefusal::NoItemNamed ? notSavedRemark : kCopyOntoItselfRemark;
    ReportFailure(row);
}

void ReportWhenDurable(ErrorTrap& trap, store::WriteScope& scope, ItemRow row, const std::string& failureRemark)
{
    store::PendingFlush flush;
    if (const auto failure = CatchError([&] { flush = scope.commit(); })) {
        trap.logError(failure->number, failure->description);
        row.remark = failureRemark;
        ReportFailure(row);
        return;
    }
    // The flush runs while the next item is copied; the row is settled when
    // it has finished.
    AppendReportEntryWhenDurable(row.source, row.destination, row.size, row.remark, failureRemark,
                                 [flush, tag = trap.tag()] {
                                     const auto failure = CatchError([&] { flush.wait(); });
                                     if (failure) WriteErrorLog(ErrorLogEntry(failure->number, failure->description, tag));
                                     return !failure;
                                 });
}

void ReportFailure(const ItemRow& row)
{
    AppendReportEntry(row.source, row.destination, row.size, row.remark);
    ++gFailedCount;
}

bool Committed(ErrorTrap& trap, store::WriteScope& scope)
{
    // Also after the procedure has left: what it wrote is flushed all the same.
    const std::optional<CaughtError> failure = CatchError([&] { scope.commit().wait(); });
    if (failure) trap.logError(failure->number, failure->description);
    return !failure;
}
