#pragma once
// The shell's "open" of a document: the desktop's default application for it
// (the web browser for a report page). Tests record instead of opening.

#include <filesystem>
#include <vector>

namespace ui {

void ShellOpen(const std::filesystem::path& document);

// While alive, ShellOpen only records the documents it is given.
class RecordedShellOpens {
public:
    RecordedShellOpens();
    ~RecordedShellOpens();
    RecordedShellOpens(const RecordedShellOpens&) = delete;
    RecordedShellOpens& operator=(const RecordedShellOpens&) = delete;

    const std::vector<std::filesystem::path>& documents() const { return documents_; }
    void record(const std::filesystem::path& document) { documents_.push_back(document); }

private:
    std::vector<std::filesystem::path> documents_;
    RecordedShellOpens* previous_;
};

} // namespace ui
