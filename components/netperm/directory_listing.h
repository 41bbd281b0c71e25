#pragma once
// The files and folders of a share path for CSPShares, as list elements.

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace netperm {

enum class ListingKind {
    Names,        // every file and folder, by name
    FolderDetails, // folders only, with size and last write time
    FileDetails,   // files only, with size and last write time
};

// "name|size|DD/MM/YYYY |H:MM AM": hours 0 to 12 as they are with "AM",
// 13 to 23 less 12 with "PM".
std::string FileElementText(const std::string& name, std::uint64_t size, const std::tm& lastWrite);

// The elements for the folder a share path names; a path that cannot be
// listed fails with the component's error scheme.
std::vector<std::string> ListShareFolder(const std::string& sharePath, ListingKind kind);

} // namespace netperm
