#pragma once
// File types as the desktop knows them, found from a file's name alone (the
// file need not exist): the type's description and its small icon, from the
// desktop's MIME database and icon theme.

#include <QPixmap>

#include <string>

namespace ui {

// "PDF document", "plain text document"; for a name whose type the database
// does not know, the extension in capitals and " File" ("XYZ File"), or
// "File" for a name without an extension.
std::string FileTypeName(const std::string& fileName);

// The type's 16 by 16 icon from the icon theme; a null pixmap when the theme
// has none.
QPixmap FileTypeIcon(const std::string& fileName);

} // namespace ui
