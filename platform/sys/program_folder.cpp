#include "platform/sys/program_folder.h"

namespace sys {

namespace {

std::filesystem::path& folderOverride()
{
    static std::filesystem::path folder;
    return folder;
}

std::filesystem::path executableFolder()
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::filesystem::current_path();
    return executable.parent_path();
}

} // namespace

std::filesystem::path ProgramFolder()
{
    if (!folderOverride().empty()) return folderOverride();
    static const std::filesystem::path folder = executableFolder();
    return folder;
}

void SetProgramFolderForTesting(const std::filesystem::path& folder) { folderOverride() = folder; }

} // namespace sys
