#pragma once
// Recording a run's items and property definitions in the report
// accumulators, from which the activity report is written at the end of the
// run.

#include <functional>
#include <string>

// Appends "##" and each value to gReportSrc, gReportDest, gReportSize and
// gReportStatus.
void AppendReportEntry(const std::string& source, const std::string& destination, const std::string& size,
                       const std::string& remark);
// Appends "$$" and each value to gLogPropertyNames, gLogPropertyWorkspaces and
// gLogPropertyStatus.
void AddPropertyLogEntry(const std::string& name, const std::string& workspace, const std::string& status);

// Appends the row of an item whose writes are still being made durable, and
// counts the item replicated. durable() waits until they are and tells
// whether they are; when it says no, the row's remark becomes failureRemark
// and the item counts as failed instead. The rows are settled in the order
// they were appended; when many wait, the oldest is settled first.
void AppendReportEntryWhenDurable(const std::string& source, const std::string& destination, const std::string& size,
                                  const std::string& remark, std::string failureRemark, std::function<bool()> durable);
// Settles every row still waiting: from here on the accumulators call copied
// only what is durable.
void SettleReportEntries();
