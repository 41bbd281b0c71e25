#pragma once
// The titles a server gives to a workspace's Documents and Categories folders,
// which differ by the language of the server ("Documents"/"Categories",
// "Dokumente"/"Kategorien"). The main window's FindDocumentsFolderTitle and
// FindCategoriesFolderTitle answer with these.

#include <string>
#include <string_view>

inline constexpr std::string_view kDocumentsFolderField = "urn:schemas-microsoft-com:workspace#DocumentsFolder";
inline constexpr std::string_view kCategoriesFolderField = "urn:schemas-microsoft-com:workspace#CategoriesFolder";

// The title in titleField of the record the server's workspace listing stands
// on after opening (its first workspace); "null" when there is none or it
// cannot be read. Errors are logged with the tag.
std::string WorkspaceFolderTitle(const std::string& server, std::string_view titleField, const std::string& tag);
