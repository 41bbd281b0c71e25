#pragma once
// Recording a run's items and property definitions in the report
// accumulators, from which the activity report is written at the end of the
// run.

#include <string>

// Appends "##" and each value to gReportSrc, gReportDest, gReportSize and
// gReportStatus.
void AppendReportEntry(const std::string& source, const std::string& destination, const std::string& size,
                       const std::string& remark);
// Appends "$$" and each value to gLogPropertyNames, gLogPropertyWorkspaces and
// gLogPropertyStatus.
void AddPropertyLogEntry(const std::string& name, const std::string& workspace, const std::string& status);
