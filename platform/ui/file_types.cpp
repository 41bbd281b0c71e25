#include "platform/ui/file_types.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QIcon>
#include <QMimeDatabase>

#include <filesystem>

namespace ui {

namespace {

// Without a desktop session Qt knows no icon theme: take the desktop's
// standard one when it is installed.
void chooseIconTheme()
{
    static const bool chosen = [] {
        if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor")) {
            for (const char* theme : {"Adwaita", "hicolor"}) {
                if (std::filesystem::exists(std::filesystem::path("/usr/share/icons") / theme)) {
                    QIcon::setThemeName(QLatin1String(theme));
                    break;
                }
            }
        }
        QIcon::setFallbackThemeName(QStringLiteral("hicolor"));
        return true;
    }();
    (void)chosen;
}

QPixmap themeIcon(const QMimeType& type)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return {};
    chooseIconTheme();
    for (const QString& name : {type.iconName(), type.genericIconName()}) {
        const QIcon icon = QIcon::fromTheme(name);
        if (!icon.isNull()) return icon.pixmap(16, 16);
    }
    return {};
}

QMimeType mimeTypeOf(const std::string& fileName)
{
    static const QMimeDatabase database;
    return database.mimeTypeForFile(QString::fromStdString(fileName), QMimeDatabase::MatchExtension);
}

// A type's description, looked up in the user's languages once per type: the
// database looks it up afresh each time it is asked.
const std::string& descriptionOf(const QMimeType& type)
{
    static QHash<QString, std::string> descriptions;
    const auto known = descriptions.constFind(type.name());
    return known != descriptions.cend() ? *known : *descriptions.insert(type.name(), type.comment().toStdString());
}

} // namespace

std::string FileTypeName(const std::string& fileName)
{
    const QMimeType type = mimeTypeOf(fileName);
    if (!type.isDefault()) return descriptionOf(type);
    const QString extension = QFileInfo(QString::fromStdString(fileName)).suffix().toUpper();
    return extension.isEmpty() ? "File" : (extension + QStringLiteral(" File")).toStdString();
}

QPixmap FileTypeIcon(const std::string& fileName) { return themeIcon(mimeTypeOf(fileName)); }

} // namespace ui
