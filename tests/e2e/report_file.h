#pragma once
// An activity report as the program wrote it: its item rows, its property
// rows and its summary counts.

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace e2e {

struct ItemRow {
    std::string source;
    std::string size;
    std::string destination;
    std::string remark;

    friend auto operator<=>(const ItemRow&, const ItemRow&) = default;
};

struct PropertyRow {
    std::string name;
    std::string workspace;
    std::string status;

    friend auto operator<=>(const PropertyRow&, const PropertyRow&) = default;
};

struct Summary {
    int items = 0;
    int moved = 0;
    int failed = 0;

    friend bool operator==(const Summary&, const Summary&) = default;
};

struct ReportFile {
    std::vector<ItemRow> items;
    std::vector<PropertyRow> properties;
    std::optional<Summary> summary; // none when no item was replicated
};

ReportFile ReadReport(const std::filesystem::path& file);

void PrintTo(const ItemRow& row, std::ostream* out);
void PrintTo(const PropertyRow& row, std::ostream* out);
void PrintTo(const Summary& summary, std::ostream* out);

} // namespace e2e
