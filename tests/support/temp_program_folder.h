#pragma once
// A temporary program folder and system drive for one test:
// the program's files (settings database, log, reports) land there, and the
// real ones are never touched.

#include "support/scoped_env.h"

#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

class TempProgramFolder {
public:
    TempProgramFolder();
    ~TempProgramFolder();

    const std::filesystem::path& path() const { return folder_.path(); }
    std::filesystem::path systemDrive() const { return drive_.path(); }

private:
    TempFolder folder_;
    TempFolder drive_;
};

// The lines of a text file whose lines end in CR LF (the last one included).
std::vector<std::string> ReadCrLfLines(const std::filesystem::path& file);

} // namespace testing_support
