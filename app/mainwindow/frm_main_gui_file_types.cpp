// File types and their icons: the type name of a document's file name (its
// "File Type" text and image key) and its small icon in the panes' image
// lists.

#include "app/mainwindow/frm_main_gui.h"

#include "app/core/error_log.h"
#include "app/core/error_trap.h"
#include "app/mainwindow/frame_images.h"
#include "platform/ui/control_errors.h"
#include "platform/ui/file_types.h"
#include "platform/ui/image_list.h"

#include <QLabel>

namespace {

// The type's icon from the desktop's theme, or our own when it has none.
QPixmap SmallIconOf(const std::string& fileName)
{
    const QPixmap icon = ui::FileTypeIcon(fileName);
    return icon.isNull() ? FrameImage("Unknown File") : icon;
}

} // namespace

std::string FrmMainGUI::GetKey(const std::string& fileName)
{
    ErrorTrap trap("in MainGUI-GetKey");
    std::string typeName = trap.value([&] { return ui::FileTypeName(fileName); });
    return StripNulls(typeName);
}

bool FrmMainGUI::StoreIcons(const std::string& fileName, std::int16_t imageIndex, bool isTop)
{
    bool added = true;
    ErrorTrap trap("in MainGUI-StoreIcons");
    trap.on(ui::kKeyNotUnique, [&] { added = false; });
    std::string typeName;
    trap.step([&] {
        typeName = ui::FileTypeName(fileName);
        tempPicture->setPixmap(SmallIconOf(fileName));
    });
    const std::string key = StripNulls(typeName);
    const QPixmap picture = tempPicture->pixmap();
    if (isTop) {
        trap.step([&] { ImageList_TopTreeList->Add(imageIndex, key, picture); });
        // Pending entries of the destination pane show the same types.
        trap.step([&] { ImageList_BottomTreeList->Add(ImageList_BottomTreeList->Count() + 1, key, picture); });
    } else {
        trap.step([&] { ImageList_BottomTreeList->Add(imageIndex, key, picture); });
    }
    trap.step([&] { tempPicture->clear(); });
    return added;
}

std::string FrmMainGUI::StripNulls(std::string& text)
{
    ErrorTrap trap("in MainGUI-StripNUlls");
    return trap.value([&] { return ::StripNulls(text); });
}
