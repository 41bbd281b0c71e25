#include "platform/ui/file_types.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QIcon>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string_view>
#include <unordered_set>

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

QMimeType databaseTypeOf(const QString& fileName)
{
    static const QMimeDatabase database;
    return database.mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
}

// Finds a name's type asking the database once per ending where the ending
// alone decides it.
//
// The database matches a name against every pattern it has and decides by
// which of them match. Most patterns are endings ("*.txt", "*.tar.gz"),
// which ask for at least one letter before the ending; the others are whole
// names ("Makefile") and wildcards ("README*", "*.[1-9]"). When a name
// matches none of the others, the patterns it matches are the endings it
// ends with, which lie within its last letters up to the longest ending that
// fits: those letters and the one before them, taken as a name by
// themselves, match the same patterns and so have the same type.
//
// The patterns are read from the database's own pattern lists. Where one of
// them cannot be read, or the standard types are not among them (the
// database then brings its own), every name is asked for in full.
class TypesByEnding {
public:
    TypesByEnding() { usable_ = readPatterns(); }

    QMimeType typeOf(const QString& name)
    {
        const QString lower = name.toLower();
        const qsizetype length = decidingLength(name, lower);
        if (length == 0 || length == name.size() || matchesOtherPattern(name, lower)) return databaseTypeOf(name);
        const QString tail = name.right(length + 1);
        auto known = types_.constFind(tail);
        if (known == types_.cend()) {
            if (types_.size() >= kMostTails) types_.clear();
            const bool decides = !matchesOtherPattern(tail, lower.right(length + 1));
            known = types_.insert(tail, decides ? std::optional(databaseTypeOf(tail)) : std::nullopt);
        }
        return known->has_value() ? **known : databaseTypeOf(name);
    }

private:
    static constexpr qsizetype kMostTails = 1024;

    // Hashes an ending and the letters of a name alike.
    struct EndingHash {
        using is_transparent = void;
        std::size_t operator()(std::u16string_view text) const { return std::hash<std::u16string_view>{}(text); }
    };

    bool readPatterns()
    {
        const QStringList folders =
            QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("mime"),
                                      QStandardPaths::LocateDirectory);
        bool standardTypesFound = false;
        QStringList wildcards;
        for (const QString& folder : folders) {
            standardTypesFound |= QFileInfo::exists(folder + QStringLiteral("/packages/freedesktop.org.xml"));
            if (!readPatternList(folder + QStringLiteral("/globs2"), wildcards)) return false;
        }
        if (!standardTypesFound) return false;
        for (QString& pattern : wildcards)
            pattern = QRegularExpression::wildcardToRegularExpression(pattern,
                                                                      QRegularExpression::UnanchoredWildcardConversion);
        wildcards_.setPattern(QStringLiteral("\\A(?:") + wildcards.join(u'|') + QStringLiteral(")\\z"));
        wildcards_.setPatternOptions(QRegularExpression::CaseInsensitiveOption);
        return wildcards_.isValid();
    }

    // Lines read "weight:type:pattern" or "weight:type:pattern:cs".
    bool readPatternList(const QString& path, QStringList& wildcards)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            if (line.isEmpty() || line.startsWith(u'#')) continue;
            const QStringList fields = line.split(u':');
            bool weighed = false;
            fields.value(0).toInt(&weighed);
            if (!weighed || fields.size() < 3 || fields.size() > 4) return false;
            if (fields.size() == 4 && !fields[3].isEmpty() && fields[3] != QStringLiteral("cs")) return false;
            const QString& pattern = fields[2];
            const QString ending = pattern.mid(1);
            if (pattern.contains(u'\\')) return false;
            if (pattern.startsWith(u'*') && !ending.isEmpty() && !hasWildcard(ending)) {
                endings_.insert(ending.toLower().toStdU16String());
                longestEnding_ = std::max(longestEnding_, ending.size());
            } else if (!hasWildcard(pattern)) {
                wholeNames_.insert(pattern.toLower());
            } else {
                wildcards << pattern;
            }
        }
        return true;
    }

    static bool hasWildcard(QStringView text)
    {
        return std::any_of(text.begin(), text.end(), [](QChar c) { return c == u'*' || c == u'?' || c == u'['; });
    }

    // The length of the longest ending that the name ends with, in any
    // letter case; 0 when none does or the name is not a plain name.
    qsizetype decidingLength(const QString& name, const QString& lower) const
    {
        if (!usable_ || name.contains(u'/') || lower.size() != name.size()) return 0;
        const std::u16string_view letters(reinterpret_cast<const char16_t*>(lower.utf16()), std::size_t(lower.size()));
        for (qsizetype length = std::min(longestEnding_, lower.size()); length > 0; --length)
            if (endings_.contains(letters.substr(letters.size() - std::size_t(length)))) return length;
        return 0;
    }

    // Whether a whole name or a wildcard pattern matches, in any letter case.
    bool matchesOtherPattern(const QString& name, const QString& lower) const
    {
        return wholeNames_.contains(lower) || wildcards_.match(name).hasMatch();
    }

    bool usable_ = false;
    std::unordered_set<std::u16string, EndingHash, std::equal_to<>> endings_; // in lower case
    qsizetype longestEnding_ = 0;
    QSet<QString> wholeNames_; // in lower case
    QRegularExpression wildcards_;
    QHash<QString, std::optional<QMimeType>> types_; // by tail; none where the tail does not decide
};

QMimeType mimeTypeOf(const std::string& fileName)
{
    static TypesByEnding types;
    return types.typeOf(QString::fromStdString(fileName));
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
