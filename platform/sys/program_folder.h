#pragma once
// The program folder: where the executable lives, and so where the settings
// database, the log folder, the help file and the animations are found.

#include <filesystem>

namespace sys {

std::filesystem::path ProgramFolder();
// Points the program folder elsewhere (tests use a temporary folder); an empty
// path restores the executable's folder.
void SetProgramFolderForTesting(const std::filesystem::path& folder);

} // namespace sys
