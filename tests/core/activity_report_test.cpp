#include "app/core/activity_report.h"
#include "app/core/report_entries.h"
#include "core_fixture.h"

#include <algorithm>

namespace {

using testing_support::ReadCrLfLines;
using testing_support::WriteFile;
using Lines = std::vector<std::string>;

const std::string kPlainTable = "<TABLE ALIGN ='CENTER' BORDER='0' CELLPADDING ='4' CELLSPACING ='0' WIDTH ='100%'>";
const std::string kFramedTable =
    "<TABLE ALIGN ='CENTER' BORDER='1' CELLPADDING ='4' CELLSPACING ='0' WIDTH ='100%' BORDERCOLOR ='SILVER'>";

Lines concat(std::initializer_list<Lines> parts)
{
    Lines all;
    for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

Lines headerLines(const std::string& start, const std::string& end, const std::string& elapsed)
{
    return {"<HTML>", "<TITLE>",
            "Tarvex Activity Log</TITLE><HEAD><STYLE>BODY{FONT-FAMILY:ARIAL;FONT-SIZE:2PT}</STYLE></HEAD><BODY>",
            kFramedTable, "<CAPTION><FONT SIZE=4>Tarvex v2.0.2 ACTIVITY LOG</FONT></CAPTION>", kFramedTable,
            "<TR bgcolor = lightgrey>",
            "<TD WIDTH='33%' ALIGN = CENTER>", "<FONT COLOR='BLUE'>", "Start Time</FONT>", "</TD>",
            "<TD WIDTH='33%' ALIGN = CENTER>", "<FONT COLOR='BLUE'>", "End Time</FONT>", "</TD>",
            "<TD WIDTH='34%' ALIGN = CENTER>", "<FONT COLOR='BLUE'>", "Time Elapsed</FONT>", "</TD>",
            "</TR>",
            "<TR>", "<TD WIDTH='33%' ALIGN = CENTER>", start + "</TD>", "<TD WIDTH='33%' ALIGN = CENTER>",
            end + "</TD>", "<TD WIDTH='34%' ALIGN = CENTER>", elapsed + "</FONT>", "</TD>", "</TR>", "</TABLE>", "<BR>",
            kPlainTable, "<TR>", "<TD>", "<FONT COLOR='BLUE'>",
            "Please refer to the description of the errors given at the end of the report", "</FONT>", "</TD>",
            "</TR>", "</TABLE>", "<BR>"};
}

const Lines kNoProperties{kPlainTable, "<TR>", "<TD>", "<B>No new properties created</B>", "</TD>", "</TR>", "</TABLE>"};
const Lines kItemTableStart{"<BR>", "<BR>", kFramedTable};
const Lines kItemTitles{"<TR bgcolor = lightgrey>", "<TH>", "Source", "</TH>", "<TH>", "Size", "</TH>",
                        "<TH>", "Destination", "</TH>", "<TH>", "Remarks", "</TH>", "</TR>"};

Lines itemRow(const std::string& source, const std::string& size, const std::string& destination, const std::string& remark)
{
    return {" <TR>",
            "<TD WIDTH='40%'>", "<FONT SIZE = 2PT COLOR='000099'>", source, "</FONT>", "</TD>",
            "<TD WIDTH='10%' align  = right>", "<FONT SIZE = 2PT COLOR='000099'>", size, "</FONT>", "</TD>",
            "<TD WIDTH='35%'>", "<FONT SIZE = 2PT COLOR='000099'>", destination, "</FONT>", "</TD>",
            "<TD WIDTH='25%'>", "<FONT COLOR='000099' SIZE = 2PT>", remark, "</FONT>", "</TD>",
            "</TR>"};
}

Lines summary(int items, int moved, int failed)
{
    return {"<TABLE ALIGN='CENTER' BORDER='1' CELLPADDING='4' CELLSPACING='0' WIDTH='100%' BOIRDERCOLOR='SILVER'>",
            "<TR>",
            "<TD WIDTH='33%'>", "Number of items :", "<FONT COLOR='BLUE'>", std::to_string(items), "</FONT>", "</TD>",
            "<TD WIDTH='33%'>", "Successfully moved:", "<FONT COLOR='GREEN'>", std::to_string(moved), "</FONT>", "</TD>",
            "<TD WIDTH='34%'>", "Items failed due to errors:", "<FONT COLOR='RED'>", std::to_string(failed), "</FONT>", "</TD>",
            "</TR>", "</TABLE>", "<BR>"};
}

Lines legend()
{
    Lines lines{"<BR>", "<BR>", "<FONT SIZE = 3 PT COLOR='BLUE'>", "File import error description:", "</FONT>",
                "<BR>", "<BR>", "<BR>", "<FONT SIZE = 3PT >"};
    for (const char* entry : {
             "<B>Permission denied to create document</B> - User context does not have sufficient permissions to create document in the target folder.",
             "<B>Permission denied to overwrite document</B> - User context does not have sufficient permissions to overwrite existing document in the target folder.",
             "<B>Permission denied to create folder</B> - User context does not have sufficient permissions to create folder in the target folder.",
             "<B>Destination folder not found</B> - Destination folder might have been moved or deleted.",
             "<B>Permission denied to Checked-in</B> - User context does not have sufficient permissions to Check-in documents in the target folder.",
             "<B>Permission denied to Publish.Document Checked-in</B> - User context does not have sufficient permissions to publish documents in the target folder.",
             "<B>Security settings not set</B> - User(s) access set in Source folder is beyond the scope of destination SharePoint server.",
             "<B>Import failed due to Filter Settings</B> - No Source documents were found with the metadata value specified in the Filter Settings.",
             "<B>Access denied</B> - Access permission denied at source (or) The file/folder is in use by another process.",
         }) {
        lines.insert(lines.end(), {entry, "<BR>", "<BR>"});
    }
    lines.insert(lines.end(), {"</FONT>", "<BR>", "<BR>", "<BR>", "</BODY>", "</HTML>"});
    return lines;
}

class ActivityReportTest : public CoreTest {
protected:
    ActivityReportTest()
    {
        gRunStartTime = "12/7/2026 10:42:25 PM";
        gRunEndTime = "12/7/2026 10:44:30 PM";
    }

    std::filesystem::path reportPath(const std::string& stamp) const
    {
        return programFolder() / "Log" / ("TarvexActivityLog_" + stamp + ".htm");
    }
    std::filesystem::path report() const { return reportPath("12-7-2026-10-44-30"); }
    std::vector<std::filesystem::path> logFolderFiles() const
    {
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(programFolder() / "Log")) files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        return files;
    }
};

TEST_F(ActivityReportTest, ARunWithoutItemsSaysSoAndEndsWithoutSummaryOrLegend)
{
    WriteActivityReport();

    EXPECT_EQ(ReadCrLfLines(report()),
              concat({headerLines("12/7/2026 10:42:25 PM", "12/7/2026 10:44:30 PM", "2 Minute(s) and 5 Second(s)"),
                      kNoProperties, kItemTableStart,
                      {kPlainTable, "<TR>", "<TD>", "<B>No Documents Replicated</B>", "</TD>", "</TR>", "</TABLE>"},
                      {"</TABLE>", "<BR>"}}));
    EXPECT_EQ(shellOpens_.documents(), std::vector<std::filesystem::path>{report()});
}

TEST_F(ActivityReportTest, ItemRowsAreFollowedBySummaryAndLegendAndTheCountsStartAfresh)
{
    AppendReportEntry("http://SRC/ws/Documents/a.doc", "http://DST/ws/Documents/a.doc", "1 KB", "Replicated Successfully.");
    AppendReportEntry("http://SRC/ws/Documents/b", "http://DST/ws/Documents/b", " ", "Permission denied to create folder.");
    AppendReportEntry("http://SRC/ws", "http://DST", "", "Replicated Successfully.");
    gFailedCount = 1;
    gReplicatedCount = 5; // the engine's own count is replaced by rows minus failures

    WriteActivityReport();

    EXPECT_EQ(ReadCrLfLines(report()),
              concat({headerLines("12/7/2026 10:42:25 PM", "12/7/2026 10:44:30 PM", "2 Minute(s) and 5 Second(s)"),
                      kNoProperties, kItemTableStart, kItemTitles,
                      itemRow("http://SRC/ws/Documents/a.doc", "1 KB", "http://DST/ws/Documents/a.doc", "Replicated Successfully."),
                      itemRow("http://SRC/ws/Documents/b", " ", "http://DST/ws/Documents/b", "Permission denied to create folder."),
                      itemRow("http://SRC/ws", "", "http://DST", "Replicated Successfully."),
                      {"</TABLE>", "<BR>"}, summary(3, 2, 1), legend()}));
    EXPECT_EQ(gReportItemCount, 0);
    EXPECT_EQ(gReplicatedCount, 0);
    EXPECT_EQ(gFailedCount, 0);
    EXPECT_TRUE(gReportSrc.empty() && gReportDest.empty() && gReportSize.empty() && gReportStatus.empty());
}

TEST_F(ActivityReportTest, PropertyDefinitionsGetTheirOwnTable)
{
    AddPropertyLogEntry("Author", "http://DST/ws", "Created Successfully.");
    AddPropertyLogEntry("Due Date", "http://DST/ws", "Property already exists.");
    WriteActivityReport();

    const Lines expectedProperties{
        "<TABLE ALIGN ='CENTER' BORDER='1' CELLPADDING ='3' CELLSPACING ='0' WIDTH ='100%' BORDERCOLOR ='SILVER'>",
        "<TR bgcolor = lightgrey>", "<TH>", "Property Name", "</TH>", "<TH>", "Destination Workspace", "</TH>",
        "<TH>", "Status", "</TH>", "</TR>",
        " <TR>", "<TD WIDTH='33%'>", "<FONT SIZE = 2PT COLOR='000099'>", "Author", "</FONT>", "</TD>",
        "<TD WIDTH='43%' align  = Left>", "<FONT SIZE = 2PT COLOR='000099'>", "http://DST/ws", "</FONT>", "</TD>",
        "<TD WIDTH='24%'>", "<FONT SIZE = 2PT COLOR='000099'>", "Created Successfully.", "</FONT>", "</TD>", "</TR>",
        " <TR>", "<TD WIDTH='33%'>", "<FONT SIZE = 2PT COLOR='000099'>", "Due Date", "</FONT>", "</TD>",
        "<TD WIDTH='43%' align  = Left>", "<FONT SIZE = 2PT COLOR='000099'>", "http://DST/ws", "</FONT>", "</TD>",
        "<TD WIDTH='24%'>", "<FONT SIZE = 2PT COLOR='000099'>", "Property already exists.", "</FONT>", "</TD>", "</TR>",
        "</TABLE>", "<BR>", "<BR>", "<BR>", "<BR>"};
    const Lines lines = ReadCrLfLines(report());
    const Lines header = headerLines("12/7/2026 10:42:25 PM", "12/7/2026 10:44:30 PM", "2 Minute(s) and 5 Second(s)");
    ASSERT_GT(lines.size(), header.size() + expectedProperties.size());
    EXPECT_EQ(Lines(lines.begin() + long(header.size()), lines.begin() + long(header.size() + expectedProperties.size())),
              expectedProperties);
    EXPECT_TRUE(gLogPropertyNames.empty());
}

TEST_F(ActivityReportTest, ASecondReportInTheSameSecondWritesNothingAndItsEntriesWaitForTheNext)
{
    WriteActivityReport();
    AppendReportEntry("http://SRC/ws/a.doc", "http://DST/ws/a.doc", "5 Bytes", "Replicated Successfully.");
    const std::string firstPage = testing_support::ReadFile(report());

    WriteActivityReport();
    EXPECT_EQ(testing_support::ReadFile(report()), firstPage);
    EXPECT_EQ(gReportSrc, "##http://SRC/ws/a.doc");
    EXPECT_EQ(shellOpens_.documents().size(), 1u);

    advanceClock(1);
    WriteActivityReport();
    const Lines next = ReadCrLfLines(reportPath("12-7-2026-10-44-31"));
    EXPECT_NE(std::find(next.begin(), next.end(), "http://SRC/ws/a.doc"), next.end());
    EXPECT_TRUE(gReportSrc.empty());
}

TEST_F(ActivityReportTest, ANameTakenByAnotherRunGetsACounterAndTheReportIsWritten)
{
    std::filesystem::create_directories(programFolder() / "Log");
    WriteFile(report(), "another run");
    WriteFile(reportPath("12-7-2026-10-44-30_2"), "yet another run");
    AppendReportEntry("http://SRC/ws/a.doc", "http://DST/ws/a.doc", "5 Bytes", "Replicated Successfully.");

    WriteActivityReport();
    EXPECT_EQ(testing_support::ReadFile(report()), "another run");
    EXPECT_EQ(testing_support::ReadFile(reportPath("12-7-2026-10-44-30_2")), "yet another run");
    const Lines written = ReadCrLfLines(reportPath("12-7-2026-10-44-30_3"));
    EXPECT_NE(std::find(written.begin(), written.end(), "http://SRC/ws/a.doc"), written.end());
    EXPECT_TRUE(gReportSrc.empty());
    EXPECT_EQ(shellOpens_.documents(), std::vector<std::filesystem::path>{reportPath("12-7-2026-10-44-30_3")});

    // A second report of this run in the same second still waits.
    AppendReportEntry("http://SRC/ws/b.doc", "http://DST/ws/b.doc", "5 Bytes", "Replicated Successfully.");
    WriteActivityReport();
    EXPECT_EQ(gReportSrc, "##http://SRC/ws/b.doc");
    EXPECT_EQ(logFolderFiles().size(), 3u);
}

TEST_F(ActivityReportTest, ReportsOfOneRunAtDifferentTimesWithOneStampGetCounters)
{
    const struct {
        sys::DateTime first, second;
        std::string stamp;
    } cases[] = {
        {sys::MakeDateTime({2026, 12, 7, 1, 0, 0}), sys::MakeDateTime({2026, 12, 7, 13, 0, 0}), "12-7-2026-1-00-00"},
        {sys::MakeDateTime({2026, 12, 8, 0, 0, 0}), sys::MakeDateTime({2026, 12, 9, 0, 0, 0}), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stamp);
        setClock(c.first);
        WriteActivityReport();
        setClock(c.second);
        AppendReportEntry("http://SRC/ws/a.doc", "http://DST/ws/a.doc", "5 Bytes", "Replicated Successfully.");
        WriteActivityReport();

        EXPECT_TRUE(gReportSrc.empty());
        const Lines second = ReadCrLfLines(reportPath(c.stamp + "_2"));
        EXPECT_NE(std::find(second.begin(), second.end(), "http://SRC/ws/a.doc"), second.end());
    }
}

TEST_F(ActivityReportTest, CountsBeyondSixteenBitsAreWrittenAsTheyAre)
{
    for (int i = 0; i < 40000; ++i) AppendReportEntry("s", "d", "1 Bytes", "Replicated Successfully.");
    gFailedCount = 1;

    WriteActivityReport();

    const Lines lines = ReadCrLfLines(report());
    const Lines end = concat({summary(40000, 39999, 1), legend()});
    ASSERT_GT(lines.size(), end.size());
    EXPECT_EQ(Lines(lines.end() - long(end.size()), lines.end()), end);
}

TEST_F(ActivityReportTest, AReportAtMidnightHasAnEmptyStamp)
{
    setClock(sys::MakeDateTime({2026, 12, 8, 0, 0, 0}));
    WriteActivityReport();
    EXPECT_EQ(logFolderFiles(), std::vector<std::filesystem::path>{reportPath("")});
}

TEST_F(ActivityReportTest, AReportThatCannotBeWrittenKeepsEverythingForTheNextOne)
{
    AppendReportEntry("http://SRC/ws/a.doc", "http://DST/ws/a.doc", "5 Bytes", "Replicated Successfully.");
    gFailedCount = 1;
    std::filesystem::create_directories(programFolder() / "Log");
    // The report's temporary name is taken by a folder: the page cannot be saved.
    std::filesystem::create_directories(programFolder() / "Log" / "TarvexActivityLog_12-7-2026-10-44-30.htm.part" / "x");

    WriteActivityReport();
    EXPECT_FALSE(std::filesystem::exists(report()));
    EXPECT_EQ(gReportSrc, "##http://SRC/ws/a.doc");
    EXPECT_EQ(gFailedCount, 1);
    EXPECT_TRUE(shellOpens_.documents().empty());
    EXPECT_EQ(lastLogLine().rfind(kLogTime + "No=", 0), 0u);
    EXPECT_NE(lastLogLine().find("in WriteActivityReport"), std::string::npos);
}

TEST_F(ActivityReportTest, ValuesAreWrittenAsHtmlTextAndAValueHoldingTheSeparatorDoesNotBreakTheReport)
{
    AppendReportEntry("http://SRC/ws/R&D <draft>.doc", "http://DST/ws/x##y.doc", "1 KB", "Replicated Successfully.");
    WriteActivityReport();

    const Lines lines = ReadCrLfLines(report());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "http://SRC/ws/R&amp;D &lt;draft&gt;.doc"), lines.end());
    // The destination split into two entries: the rows follow the source list.
    EXPECT_NE(std::find(lines.begin(), lines.end(), "http://DST/ws/x"), lines.end());
    EXPECT_EQ(std::count(lines.begin(), lines.end(), " <TR>"), 1);
}

TEST(ReportTimeStamp, DropsTheLastPieceAndReplacesSlashesAndColons)
{
    EXPECT_EQ(ReportTimeStamp("12/7/2026 10:44:30 PM"), "12-7-2026-10-44-30");
    EXPECT_EQ(ReportTimeStamp("1/2/2026 9:05:01 AM"), "1-2-2026-9-05-01");
    EXPECT_EQ(ReportTimeStamp("12/8/2026"), "");
}

TEST(ElapsedTime, WholeHoursMinutesAndSeconds)
{
    const struct {
        std::optional<long long> seconds;
        const char* text;
    } cases[] = {{45, "45 Second(s)"},
                 {0, "0 Second(s)"},
                 {59, "59 Second(s)"},
                 {60, "1 Minute(s) and 0 Second(s)"},
                 {125, "2 Minute(s) and 5 Second(s)"},
                 {3600, "1 Hour(s) 0 Minute(s) and 0 Second(s)"},
                 {3725, "1 Hour(s) 2 Minute(s) and 5 Second(s)"},
                 {3659, "1 Hour(s) 0 Minute(s) and 59 Second(s)"},
                 {std::nullopt, " Second(s)"}};
    for (const auto& c : cases) EXPECT_EQ(ElapsedTimeText(c.seconds), c.text);
}

TEST_F(ActivityReportTest, ElapsedTimeOfTheRunAndOfARunWithoutAStartTime)
{
    gRunStartTime = "12/7/2026 9:42:25 PM";
    EXPECT_EQ(GetElapsedTimeText(), "1 Hour(s) 2 Minute(s) and 5 Second(s)");
    gRunStartTime = "";
    EXPECT_EQ(GetElapsedTimeText(), " Second(s)");
    EXPECT_FALSE(std::filesystem::exists(ErrorLogFile()));
}

} // namespace
