#include "platform/net/data_files.h"

#include "platform/net/atomic_file.h"

namespace net {

std::string ReadDataFile(const fs::path& folder, std::string_view fileName)
{
    const std::optional<Folder> opened = OpenNetworkFolder(folder);
    return opened ? opened->readFile(fileName).value_or(std::string()) : std::string();
}

void WriteDataFile(const fs::path& folder, std::string_view fileName, std::string_view text)
{
    CreateNetworkFolder(folder).writeFile(fileName, text);
}

IniDocument ReadIniFile(const fs::path& folder, std::string_view fileName)
{
    return IniDocument::Parse(ReadDataFile(folder, fileName));
}

void WriteIniFile(const fs::path& folder, std::string_view fileName, const IniDocument& ini)
{
    WriteDataFile(folder, fileName, ini.toText());
}

void WriteFileAtomically(const fs::path& target, std::string_view content)
{
    WriteDataFile(target.parent_path(), target.filename().string(), content);
}

} // namespace net
