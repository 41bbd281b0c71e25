#pragma once
// The shell's "open" of a document: the desktop's default application for it
// (the web browser for a report page). Tests record instead of opening.

#include <filesystem>
#include <vector>

namespace ui {

// The shell's error number when no application could be started for a
// document (SE_ERR_NOASSOC).
inline constexpr int kNoAssociation = 31;

// False when no application could be started for the document (the desktop
// has no opener, or the opener could not be run).
bool ShellOpen(const std::filesystem::path& document);

// While alive, ShellOpen only records the documents it is given, and answers
// as told (by default that each was opened).
class RecordedShellOpens {
public:
    RecordedShellOpens();
    ~RecordedShellOpens();
    RecordedShellOpens(const RecordedShellOpens&) = delete;
    RecordedShellOpens& operator=(const RecordedShellOpens&) = delete;

    const std::vector<std::filesystem::path>& documents() const { return documents_; }
    // From now on ShellOpen answers that nothing could open the documents.
    void failOpens() { opens_ = false; }
    bool record(const std::filesystem::path& document)
    {
        documents_.push_back(document);
        return opens_;
    }

private:
    std::vector<std::filesystem::path> documents_;
    bool opens_ = true;
    RecordedShellOpens* previous_;
};

} // namespace ui
