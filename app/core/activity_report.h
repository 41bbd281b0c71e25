#pragma once
// The activity report: the HTML page written from the report accumulators
// (report_entries.h) to the log folder and opened in the browser at the end of
// the run.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The report page being written: its lines are collected and saved in one
// go, so that a page that cannot be written leaves no partial file.
class ReportFile {
public:
    explicit ReportFile(std::filesystem::path path) : path_(std::move(path)) {}

    void write(std::initializer_list<std::string> lines);
    // Writes the page beside its final name and renames it into place.
    void save() const;

private:
    std::filesystem::path path_;
    std::vector<std::string> lines_;
};

// Writes the report of the run from the accumulators and counters, clears the
// accumulators and opens the page. When this program run has written a report
// in the same second already, nothing is written and the entries wait for the
// next report. When the page cannot be written, the failure is logged and the
// accumulators and counters stay as they were.
void WriteActivityReport();
void WriteReportHeader(ReportFile& report);
void WriteReportRows(ReportFile& report);
void WritePropertyReport(ReportFile& report);
void WriteReportSummary(ReportFile& report);
void WriteReportErrorLegend(ReportFile& report);
void ClearReportEntries();
// The time between gRunStartTime and gRunEndTime as text.
std::string GetElapsedTimeText();

// The report's file-name stamp from a general date text: every blank-separated
// word but the last joined by "-", then "/" and ":" replaced by "-"
// ("12/7/2026 10:44:30 PM" gives "12-7-2026-10-44-30").
std::string ReportTimeStamp(const std::string& generalDateText);
// The report's file name for a stamp: "TarvexActivityLog_<stamp>.htm", and for
// a counter of 2 or more "TarvexActivityLog_<stamp>_<counter>.htm".
std::string ReportFileName(const std::string& stamp, int counter = 1);
// "45 Second(s)", "2 Minute(s) and 5 Second(s)", "1 Hour(s) 2 Minute(s) and
// 5 Second(s)"; without a number of seconds, " Second(s)".
std::string ElapsedTimeText(std::optional<long long> seconds);
// The text with "&", "<" and ">" written as HTML entities.
std::string HtmlText(const std::string& text);
