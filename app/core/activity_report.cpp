#include "app/core/activity_report.h"

#include "app/core/error_log.h"
#include "app/core/error_trap.h"
#include "app/core/report_entries.h"
#include "app/core/runtime_errors.h"
#include "app/core/shared_state.h"
#include "app/core/text_file.h"
#include "app/core/text_lists.h"
#include "platform/sys/datetime.h"
#include "platform/ui/shell_open.h"

#include <array>

namespace {

const std::string kPlainTable = "<TABLE ALIGN ='CENTER' BORDER='0' CELLPADDING ='4' CELLSPACING ='0' WIDTH ='100%'>";
const std::string kFramedTable =
    "<TABLE ALIGN ='CENTER' BORDER='1' CELLPADDING ='4' CELLSPACING ='0' WIDTH ='100%' BORDERCOLOR ='SILVER'>";
const std::string kValueFont = "<FONT SIZE = 2PT COLOR='000099'>";

const std::array<std::string, 9> kErrorLegend{
    "<B>Permission denied to create document</B> - User context does not have sufficient permissions to create document in the target folder.",
    "<B>Permission denied to overwrite document</B> - User context does not have sufficient permissions to overwrite existing document in the target folder.",
    "<B>Permission denied to create folder</B> - User context does not have sufficient permissions to create folder in the target folder.",
    "<B>Destination folder not found</B> - Destination folder might have been moved or deleted.",
    "<B>Permission denied to Checked-in</B> - User context does not have sufficient permissions to Check-in documents in the target folder.",
    "<B>Permission denied to Publish.Document Checked-in</B> - User context does not have sufficient permissions to publish documents in the target folder.",
    "<B>Security settings not set</B> - User(s) access set in Source folder is beyond the scope of destination SharePoint server.",
    "<B>Import failed due to Filter Settings</B> - No Source documents were found with the metadata value specified in the Filter Settings.",
    "<B>Access denied</B> - Access permission denied at source (or) The file/folder is in use by another process.",
};

// Entry i of a split accumulator. The lists are index-parallel unless a value
// held the separator itself; a missing entry then reads as empty instead of
// failing the whole report.
std::string entry(const std::vector<std::string>& list, std::size_t index)
{
    return index < list.size() ? HtmlText(list[index]) : std::string();
}

long long secondsBetween(const std::string& start, const std::string& end)
{
    const std::optional<sys::DateTime> from = sys::ParseGeneralDate(start);
    const std::optional<sys::DateTime> to = sys::ParseGeneralDate(end);
    if (!from || !to) RaiseRuntimeError(kTypeMismatch);
    return to->seconds - from->seconds;
}

// The report this program run wrote last, and the general date text of the
// second it was written in.
struct WrittenReport {
    std::filesystem::path path;
    std::string dateText;
};
WrittenReport lastWrittenReport;

// Where the report written at dateText goes: the first name of its stamp that
// no file takes, so that a report never replaces or gives way to the file of
// another run (reports at midnight, or at the same time of the morning and the
// evening, share their stamp). Nothing when this run has written the report of
// this second already.
std::optional<std::filesystem::path> ReportPathFor(const std::filesystem::path& logFolder, const std::string& dateText)
{
    const std::string stamp = ReportTimeStamp(dateText);
    for (int counter = 1;; ++counter) {
        const std::filesystem::path path = logFolder / ReportFileName(stamp, counter);
        std::error_code error;
        if (!std::filesystem::exists(path, error)) return path;
        if (path == lastWrittenReport.path && dateText == lastWrittenReport.dateText) return std::nullopt;
    }
}

// Removes the temporary page unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::filesystem::path path) : path_(std::move(path)) {}
    ~TemporaryFile()
    {
        std::error_code ignored;
        if (!kept_) std::filesystem::remove(path_, ignored);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::filesystem::path& path() const { return path_; }
    void keep() { kept_ = true; }

private:
    std::filesystem::path path_;
    bool kept_ = false;
};

} // namespace

void ReportFile::write(std::initializer_list<std::string> lines) { lines_.insert(lines_.end(), lines); }

void ReportFile::save() const
{
    TemporaryFile temporary(path_.parent_path() / (path_.filename().string() + ".part"));
    WriteTextLines(temporary.path(), lines_);
    std::error_code error;
    std::filesystem::rename(temporary.path(), path_, error);
    if (error) RaiseFileError(error.value());
    temporary.keep();
}

void WriteActivityReport()
{
    // The report never calls copied what is not durable yet.
    SettleReportEntries();
    ErrorTrap trap("in WriteActivityReport");
    const std::array<std::int32_t, 3> counters{gReportItemCount, gReplicatedCount, gFailedCount};
    trap.onAnyOther().log().leave().then([&] {
        gReportItemCount = counters[0];
        gReplicatedCount = counters[1];
        gFailedCount = counters[2];
    });

    const std::filesystem::path logFolder = LogFolder();
    trap.step([&] { EnsureFolder(logFolder); });
    const std::string now = sys::GeneralDateText(sys::Now());
    if (trap.hasLeft()) return;
    const std::optional<std::filesystem::path> path = ReportPathFor(logFolder, now);
    if (!path) return;

    ReportFile report(*path);
    WriteReportHeader(report);
    WriteReportRows(report);
    if (gReportItemCount != 0) {
        WriteReportSummary(report);
        WriteReportErrorLegend(report);
    }
    trap.step([&] { report.save(); });
    if (trap.hasLeft()) return;
    lastWrittenReport = {*path, now};
    ClearReportEntries();
    // A desktop without an opener at least tells the user where the report is.
    if (!ui::ShellOpen(*path))
        WriteErrorLog(ErrorLogEntry(ui::kNoAssociation, "No application could open the activity report " + path->string(),
                                    "in WriteActivityReport"));
}

void WriteReportHeader(ReportFile& report)
{
    const std::string elapsed = GetElapsedTimeText();
    report.write({"<HTML>", "<TITLE>",
                  "Tarvex Activity Log</TITLE><HEAD><STYLE>BODY{FONT-FAMILY:ARIAL;FONT-SIZE:2PT}</STYLE></HEAD><BODY>"});
    report.write({kFramedTable, "<CAPTION><FONT SIZE=4>Tarvex v2.0.2 ACTIVITY LOG</FONT></CAPTION>", kFramedTable});
    report.write({"<TR bgcolor = lightgrey>",
                  "<TD WIDTH='33%' ALIGN = CENTER>", "<FONT COLOR='BLUE'>", "Start Time</FONT>", "</TD>",
                  "<TD WIDTH='33%' ALIGN = CENTER>", "<FONT COLOR='BLUE'>", "End Time</FONT>", "</TD>",
                  "<TD WIDTH='34%' ALIGN = CENTER>", "<FONT COLOR='BLUE'>", "Time Elapsed</FONT>", "</TD>",
                  "</TR>"});
    report.write({"<TR>",
                  "<TD WIDTH='33%' ALIGN = CENTER>", HtmlText(gRunStartTime) + "</TD>",
                  "<TD WIDTH='33%' ALIGN = CENTER>", HtmlText(gRunEndTime) + "</TD>",
                  "<TD WIDTH='34%' ALIGN = CENTER>", elapsed + "</FONT>", "</TD>",
                  "</TR>", "</TABLE>", "<BR>"});
    report.write({kPlainTable, "<TR>", "<TD>", "<FONT COLOR='BLUE'>",
                  "Please refer to the description of the errors given at the end of the report",
                  "</FONT>", "</TD>", "</TR>", "</TABLE>", "<BR>"});
    WritePropertyReport(report);
    report.write({"<BR>", "<BR>", kFramedTable});
    if (!gReportSrc.empty()) {
        report.write({"<TR bgcolor = lightgrey>",
                      "<TH>", "Source", "</TH>", "<TH>", "Size", "</TH>",
                      "<TH>", "Destination", "</TH>", "<TH>", "Remarks", "</TH>",
                      "</TR>"});
    }
}

void WriteReportRows(ReportFile& report)
{
    const std::vector<std::string> sources = SplitText(gReportSrc, "##");
    const std::vector<std::string> destinations = SplitText(gReportDest, "##");
    const std::vector<std::string> remarks = SplitText(gReportStatus, "##");
    const std::vector<std::string> sizes = SplitText(gReportSize, "##");

    if (!gReportStatus.empty() && !gReportDest.empty() && !gReportSrc.empty()) {
        for (std::size_t i = 1; i < sources.size(); ++i) {
            report.write({" <TR>",
                          "<TD WIDTH='40%'>", kValueFont, entry(sources, i), "</FONT>", "</TD>",
                          "<TD WIDTH='10%' align  = right>", kValueFont, entry(sizes, i), "</FONT>", "</TD>",
                          "<TD WIDTH='35%'>", kValueFont, entry(destinations, i), "</FONT>", "</TD>",
                          "<TD WIDTH='25%'>", "<FONT COLOR='000099' SIZE = 2PT>", entry(remarks, i), "</FONT>", "</TD>",
                          "</TR>"});
        }
        gReportItemCount = std::int32_t(sources.size() - 1);
    } else {
        report.write({kPlainTable, "<TR>", "<TD>", "<B>No Documents Replicated</B>", "</TD>", "</TR>", "</TABLE>"});
    }
    report.write({"</TABLE>", "<BR>"});
}

void WritePropertyReport(ReportFile& report)
{
    if (gLogPropertyStatus.empty() || gLogPropertyWorkspaces.empty() || gLogPropertyNames.empty()) {
        report.write({kPlainTable, "<TR>", "<TD>", "<B>No new properties created</B>", "</TD>", "</TR>", "</TABLE>"});
        return;
    }
    const std::vector<std::string> names = SplitText(gLogPropertyNames, "$$");
    const std::vector<std::string> workspaces = SplitText(gLogPropertyWorkspaces, "$$");
    const std::vector<std::string> statuses = SplitText(gLogPropertyStatus, "$$");

    report.write({"<TABLE ALIGN ='CENTER' BORDER='1' CELLPADDING ='3' CELLSPACING ='0' WIDTH ='100%' BORDERCOLOR ='SILVER'>",
                  "<TR bgcolor = lightgrey>",
                  "<TH>", "Property Name", "</TH>", "<TH>", "Destination Workspace", "</TH>", "<TH>", "Status", "</TH>",
                  "</TR>"});
    for (std::size_t i = 1; i < names.size(); ++i) {
        report.write({" <TR>",
                      "<TD WIDTH='33%'>", kValueFont, entry(names, i), "</FONT>", "</TD>",
                      "<TD WIDTH='43%' align  = Left>", kValueFont, entry(workspaces, i), "</FONT>", "</TD>",
                      "<TD WIDTH='24%'>", kValueFont, entry(statuses, i), "</FONT>", "</TD>",
                      "</TR>"});
    }
    report.write({"</TABLE>", "<BR>", "<BR>", "<BR>", "<BR>"});
}

void WriteReportSummary(ReportFile& report)
{
    gReplicatedCount = gReportItemCount - gFailedCount;
    report.write({"<TABLE ALIGN='CENTER' BORDER='1' CELLPADDING='4' CELLSPACING='0' WIDTH='100%' BOIRDERCOLOR='SILVER'>",
                  "<TR>",
                  "<TD WIDTH='33%'>", "Number of items :", "<FONT COLOR='BLUE'>", std::to_string(gReportItemCount), "</FONT>", "</TD>",
                  "<TD WIDTH='33%'>", "Successfully moved:", "<FONT COLOR='GREEN'>", std::to_string(gReplicatedCount), "</FONT>", "</TD>",
                  "<TD WIDTH='34%'>", "Items failed due to errors:", "<FONT COLOR='RED'>", std::to_string(gFailedCount), "</FONT>", "</TD>",
                  "</TR>", "</TABLE>", "<BR>"});
    gReportItemCount = 0;
    gReplicatedCount = 0;
    gFailedCount = 0;
}

void WriteReportErrorLegend(ReportFile& report)
{
    report.write({"<BR>", "<BR>", "<FONT SIZE = 3 PT COLOR='BLUE'>", "File import error description:", "</FONT>",
                  "<BR>", "<BR>", "<BR>", "<FONT SIZE = 3PT >"});
    for (const std::string& line : kErrorLegend) report.write({line, "<BR>", "<BR>"});
    report.write({"</FONT>", "<BR>", "<BR>", "<BR>", "</BODY>", "</HTML>"});
}

void ClearReportEntries()
{
    for (std::string* list : {&gReportSrc, &gReportDest, &gReportSize, &gReportStatus, &gLogPropertyNames,
                              &gLogPropertyWorkspaces, &gLogPropertyStatus})
        list->clear();
}

std::string GetElapsedTimeText()
{
    ErrorTrap trap("in GetElapsedTimeText");
    trap.on(kTypeMismatch);
    trap.onAnyOther().leave();

    std::optional<long long> seconds;
    trap.step([&] { seconds = secondsBetween(gRunStartTime, gRunEndTime); });
    return trap.value([&] { return ElapsedTimeText(seconds); });
}

std::string ReportTimeStamp(const std::string& generalDateText)
{
    std::vector<std::string> words = SplitText(generalDateText, " ");
    std::string stamp;
    for (std::size_t i = 0; i + 1 < words.size(); ++i) stamp += (i == 0 ? "" : "-") + words[i];
    for (char& c : stamp)
        if (c == '/' || c == ':') c = '-';
    return stamp;
}

std::string ReportFileName(const std::string& stamp, int counter)
{
    const std::string suffix = counter < 2 ? std::string() : "_" + std::to_string(counter);
    return "TarvexActivityLog_" + stamp + suffix + ".htm";
}

std::string ElapsedTimeText(std::optional<long long> seconds)
{
    if (!seconds) return " Second(s)";
    const long long s = *seconds;
    if (s < 60) return std::to_string(s) + " Second(s)";
    if (s < 3600) return std::to_string(s / 60) + " Minute(s) and " + std::to_string(s % 60) + " Second(s)";
    const long long remainder = s % 3600;
    return std::to_string(s / 3600) + " Hour(s) " + std::to_string(remainder / 60) + " Minute(s) and " +
           std::to_string(remainder % 60) + " Second(s)";
}

std::string HtmlText(const std::string& text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}
