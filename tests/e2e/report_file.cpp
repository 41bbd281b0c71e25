#include "e2e/report_file.h"

#include "support/temp_program_folder.h"

namespace e2e {

namespace {

// Each cell of a row is its cell tag, its font tag, the text and the closing
// tags: the texts stand five lines apart, from the third line of the row.
constexpr std::size_t kFirstText = 3;
constexpr std::size_t kTextStride = 5;

const std::string kRowStart = " <TR>";
const std::string kItemCell = "<TD WIDTH='40%'>";
const std::string kPropertyCell = "<TD WIDTH='33%'>";

std::string Text(const std::vector<std::string>& lines, std::size_t row, std::size_t cell)
{
    const std::size_t at = row + kFirstText + cell * kTextStride;
    return at < lines.size() ? lines[at] : std::string();
}

// The count that follows a summary caption (and its font tag).
std::optional<int> CountAfter(const std::vector<std::string>& lines, const std::string& caption)
{
    for (std::size_t i = 0; i + 2 < lines.size(); ++i)
        if (lines[i] == caption) return std::stoi(lines[i + 2]);
    return std::nullopt;
}

} // namespace

ReportFile ReadReport(const std::filesystem::path& file)
{
    const std::vector<std::string> lines = testing_support::ReadCrLfLines(file);
    ReportFile report;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i] != kRowStart) continue;
        if (lines[i + 1] == kItemCell)
            report.items.push_back({Text(lines, i, 0), Text(lines, i, 1), Text(lines, i, 2), Text(lines, i, 3)});
        else if (lines[i + 1] == kPropertyCell)
            report.properties.push_back({Text(lines, i, 0), Text(lines, i, 1), Text(lines, i, 2)});
    }
    const std::optional<int> items = CountAfter(lines, "Number of items :");
    const std::optional<int> moved = CountAfter(lines, "Successfully moved:");
    const std::optional<int> failed = CountAfter(lines, "Items failed due to errors:");
    if (items && moved && failed) report.summary = Summary{*items, *moved, *failed};
    return report;
}

void PrintTo(const ItemRow& row, std::ostream* out)
{
    *out << "{" << row.source << " | " << row.size << " | " << row.destination << " | " << row.remark << "}";
}

void PrintTo(const PropertyRow& row, std::ostream* out)
{
    *out << "{" << row.name << " | " << row.workspace << " | " << row.status << "}";
}

void PrintTo(const Summary& summary, std::ostream* out)
{
    *out << "{items " << summary.items << ", moved " << summary.moved << ", failed " << summary.failed << "}";
}

} // namespace e2e
