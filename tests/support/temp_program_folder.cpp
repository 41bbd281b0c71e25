#include "support/temp_program_folder.h"

#include "platform/sys/program_folder.h"
#include "platform/sys/system_info.h"

namespace testing_support {

TempProgramFolder::TempProgramFolder()
{
    sys::SetProgramFolderForTesting(folder_.path());
    sys::SetSystemDriveForTesting(drive_.path());
}

TempProgramFolder::~TempProgramFolder()
{
    sys::SetProgramFolderForTesting({});
    sys::SetSystemDriveForTesting({});
}

std::vector<std::string> ReadCrLfLines(const std::filesystem::path& file)
{
    const std::string content = ReadFile(file);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = content.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(content.substr(start, end - start));
    if (start < content.size()) lines.push_back(content.substr(start));
    return lines;
}

} // namespace testing_support
