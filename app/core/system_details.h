#pragma once
// The lines of the error log's system-details header.

#include <filesystem>
#include <string>
#include <vector>

// The operating-system name for a version: "50" Windows 2000, "51" Windows XP
// Or Windows .NET Server, below 5 the older-version text, otherwise empty.
std::string OsNameForVersion(int major, int minor);

// Header lines 1 to 4 when the version was read.
std::vector<std::string> SystemDetailsTitleLines();
// The two lines in their place when it was not.
std::vector<std::string> OsVersionNotFoundLines();
// The lines written when the client file was not found.
std::vector<std::string> ClientNotFoundLines(const std::filesystem::path& clientFile);
std::string SystemDetailsDataRow(const std::string& osName, const std::string& servicePack,
                                 const std::string& systemLanguage, const std::string& clientLanguage);

// Where the document-store client's Web Folders component is installed.
std::filesystem::path WebFoldersFolder(const std::filesystem::path& systemDrive);
// The first subfolder of the Web Folders folder (in the order the file system
// lists them) that holds the client file "nsextint.dll": that file's path, or
// an empty path. A missing Web Folders folder holds no client file; one that
// cannot be listed raises a file error.
std::filesystem::path FindClientFile(const std::filesystem::path& webFoldersFolder);
