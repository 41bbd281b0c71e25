#include "app/core/report_entries.h"

#include "app/core/shared_state.h"

#include <deque>

namespace {

// More rows than this waiting would hold many files open for their flushes.
constexpr std::size_t kMostWaitingRows = 64;

// A row whose item is not known durable yet: where its remark stands in
// gReportStatus, and what it becomes when the item is not.
struct WaitingRow {
    std::size_t remarkOffset;
    std::size_t remarkLength;
    std::string failureRemark;
    std::function<bool()> durable;
};

std::deque<WaitingRow>& waitingRows()
{
    static std::deque<WaitingRow> rows;
    return rows;
}

void settleOldest()
{
    std::deque<WaitingRow>& rows = waitingRows();
    WaitingRow row = std::move(rows.front());
    rows.pop_front();
    if (row.durable()) return;

    --gReplicatedCount;
    ++gFailedCount;
    if (row.remarkOffset + row.remarkLength > gReportStatus.size()) return;
    gReportStatus.replace(row.remarkOffset, row.remarkLength, row.failureRemark);
    const std::ptrdiff_t shift = std::ptrdiff_t(row.failureRemark.size()) - std::ptrdiff_t(row.remarkLength);
    for (WaitingRow& later : rows) later.remarkOffset = std::size_t(std::ptrdiff_t(later.remarkOffset) + shift);
}

} // namespace

void AppendReportEntry(const std::string& source, const std::string& destination, const std::string& size,
                       const std::string& remark)
{
    gReportSrc += "##" + source;
    gReportDest += "##" + destination;
    gReportSize += "##" + size;
    gReportStatus += "##" + remark;
}

void AddPropertyLogEntry(const std::string& name, const std::string& workspace, const std::string& status)
{
    gLogPropertyNames += "$$" + name;
    gLogPropertyWorkspaces += "$$" + workspace;
    gLogPropertyStatus += "$$" + status;
}

void AppendReportEntryWhenDurable(const std::string& source, const std::string& destination, const std::string& size,
                                  const std::string& remark, std::string failureRemark, std::function<bool()> durable)
{
    if (waitingRows().size() >= kMostWaitingRows) settleOldest();
    AppendReportEntry(source, destination, size, remark);
    ++gReplicatedCount;
    waitingRows().push_back({gReportStatus.size() - remark.size(), remark.size(), std::move(failureRemark), std::move(durable)});
}

void SettleReportEntries()
{
    while (!waitingRows().empty()) settleOldest();
}
