#include "app/core/system_details.h"

#include "app/core/runtime_errors.h"

std::string OsNameForVersion(int major, int minor)
{
    const std::string key = std::to_string(major) + std::to_string(minor);
    if (key == "50") return "Windows 2000";
    if (key == "51") return "Windows XP Or Windows .NET Server";
    if (major < 5) return "Have installed Os version < Windows 2000";
    return {};
}

std::vector<std::string> SystemDetailsTitleLines()
{
    const std::string rule(113, '-');
    return {"\t\t\t\t Operating System Details ", rule,
            "OS Installed \t\tOS Service pack \tOS Language\t\t\tSPS Client", rule};
}

std::vector<std::string> OsVersionNotFoundLines()
{
    return {"OS Installed     =   ** NOT FOUND ** ", "OS Service pack  =   ** NOT FOUND ** "};
}

std::vector<std::string> ClientNotFoundLines(const std::filesystem::path& clientFile)
{
    return {"client language detection failed due to File not found error.", "path=" + clientFile.string()};
}

std::string SystemDetailsDataRow(const std::string& osName, const std::string& servicePack,
                                 const std::string& systemLanguage, const std::string& clientLanguage)
{
    return osName + "\t\t" + servicePack + "\t\t" + systemLanguage + "\t\t" + clientLanguage;
}

std::filesystem::path WebFoldersFolder(const std::filesystem::path& systemDrive)
{
    return systemDrive / "program files" / "common files" / "microsoft shared" / "web folders";
}

std::filesystem::path FindClientFile(const std::filesystem::path& webFoldersFolder)
{
    std::error_code error;
    if (!std::filesystem::exists(webFoldersFolder, error)) return {};
    std::filesystem::directory_iterator subfolders(webFoldersFolder, error);
    if (error) RaiseFileError(error.value());
    for (const auto& entry : subfolders) {
        const std::filesystem::path candidate = entry.path() / "nsextint.dll";
        if (entry.is_directory(error) && std::filesystem::exists(candidate, error)) return candidate;
    }
    return {};
}
