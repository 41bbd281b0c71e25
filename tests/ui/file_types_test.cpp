// The type names of file names: the same as the desktop's MIME database gives
// for the whole name, also where the last letters alone would mislead.

#include "platform/ui/file_types.h"
#include "support/qt_application.h"

#include <gtest/gtest.h>

#include <QMimeDatabase>

#include <string>

namespace {

// The description the database gives for the whole name; empty when it
// knows no type for it.
std::string DatabaseDescription(const std::string& fileName)
{
    const QMimeType type =
        QMimeDatabase().mimeTypeForFile(QString::fromStdString(fileName), QMimeDatabase::MatchExtension);
    return type.isDefault() ? std::string() : type.comment().toStdString();
}

class FileTypesTest : public ::testing::Test {
protected:
    void SetUp() override { testing_support::EnsureQtApplication(); }
};

TEST_F(FileTypesTest, ATypeNameIsTheDatabasesForTheWholeName)
{
    // Whole names, wildcards, longer and shorter endings, endings in either
    // letter case, names whose lower case is longer; each asked twice and
    // after names with the same ending.
    const char* const names[] = {
        "notes.txt",   "NOTES.TXT",   "CMakeLists.txt",   "README.txt",       "README",    "Makefile",
        "Makefile.am", "backup.tar.gz", "backup.gz",      "x.tar.GZ",         "main.C",    "main.c",
        "libz.so.1",   "ls.1",        "core",             "scene.anim3",      "123.vdr",   "İnfo.txt",
        "a.b.c.docx",  "photo.JPG",   "notes.txt~",       "report 00001.pdf", "report 00002.pdf",
    };
    for (int round = 0; round < 2; ++round) {
        for (const char* name : names) {
            const std::string expected = DatabaseDescription(name);
            ASSERT_FALSE(expected.empty()) << name;
            EXPECT_EQ(ui::FileTypeName(name), expected) << name;
        }
    }
    // Where the ending alone would mislead.
    EXPECT_NE(ui::FileTypeName("CMakeLists.txt"), ui::FileTypeName("notes.txt"));
    EXPECT_NE(ui::FileTypeName("backup.tar.gz"), ui::FileTypeName("backup.gz"));
    EXPECT_NE(ui::FileTypeName("main.C"), ui::FileTypeName("main.c"));
    EXPECT_NE(ui::FileTypeName("Makefile.am"), ui::FileTypeName("build.am"));
}

TEST_F(FileTypesTest, ANameTheDatabaseDoesNotKnowIsNamedByItsExtension)
{
    const struct {
        const char* name;
        const char* type;
    } cases[] = {{"data.qqz", "QQZ File"}, {"other.QqZ", "QQZ File"}, {"build.am", "AM File"}, {"quarterly_numbers", "File"}};
    for (const auto& c : cases) EXPECT_EQ(ui::FileTypeName(c.name), c.type) << c.name;
}

} // namespace
