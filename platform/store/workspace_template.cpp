#include "platform/store/workspace_template.h"

#include "platform/net/case_fold.h"
#include "platform/store/item_data.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <archive.h>
#include <archive_entry.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace store {

namespace fs = std::filesystem;

namespace {

QString qText(const std::string& text)
{
    return QString::fromStdString(text);
}

std::string text(const QStringView view)
{
    return view.toString().toStdString();
}

std::string attribute(const QXmlStreamReader& reader, const char* name)
{
    return text(reader.attributes().value(QLatin1String(name)));
}

bool flagAttribute(const QXmlStreamReader& reader, const char* name)
{
    return net::EqualsIgnoringCase(attribute(reader, name), "true");
}

[[noreturn]] void malformed(const QXmlStreamReader& reader, std::string_view what)
{
    throw com::ComError(com::E_FAIL, "The workspace " + std::string(what) + " is malformed at line "
                                         + std::to_string(reader.lineNumber()) + ": "
                                         + reader.errorString().toStdString());
}

void requireRoot(QXmlStreamReader& reader, const char* root, std::string_view what)
{
    if (!reader.readNextStartElement() || reader.name() != QLatin1String(root)) {
        if (!reader.hasError()) reader.raiseError(QStringLiteral("expected <%1>").arg(QLatin1String(root)));
        malformed(reader, what);
    }
}

std::string elementText(QXmlStreamReader& reader)
{
    return reader.readElementText().toStdString();
}

PropertyDefinitionSpec readPropertyDefinition(QXmlStreamReader& reader)
{
    PropertyDefinitionSpec definition{attribute(reader, "file"),       attribute(reader, "name"),
                                      attribute(reader, "title"),      attribute(reader, "description"),
                                      attribute(reader, "extendedType"), attribute(reader, "dataType"),
                                      flagAttribute(reader, "required"), flagAttribute(reader, "multiValued"),
                                      {}};
    while (reader.readNextStartElement()) {
        if (reader.name() == QLatin1String("value")) definition.listValues.push_back(elementText(reader));
        else reader.skipCurrentElement();
    }
    return definition;
}

ContentClassSpec readContentClass(QXmlStreamReader& reader)
{
    ContentClassSpec contentClass{attribute(reader, "name"), attribute(reader, "title"), attribute(reader, "description"),
                                  {}, {}};
    while (reader.readNextStartElement()) {
        if (reader.name() == QLatin1String("extends")) contentClass.baseClasses.push_back(elementText(reader));
        else if (reader.name() == QLatin1String("property")) contentClass.properties.push_back(elementText(reader));
        else reader.skipCurrentElement();
    }
    return contentClass;
}

FolderSpec readFolder(QXmlStreamReader& reader)
{
    FolderSpec folder;
    folder.name = attribute(reader, "name");
    folder.kind = attribute(reader, "kind") == ItemKindName(ItemKind::CategoryFolder) ? ItemKind::CategoryFolder
                                                                                     : ItemKind::Folder;
    folder.contentClass = attribute(reader, "contentClass");
    folder.hidden = flagAttribute(reader, "hidden");
    while (reader.readNextStartElement()) {
        if (reader.name() == QLatin1String("folder")) folder.children.push_back(readFolder(reader));
        else reader.skipCurrentElement();
    }
    return folder;
}

void writeFolder(QXmlStreamWriter& writer, const FolderSpec& folder)
{
    writer.writeStartElement(QStringLiteral("folder"));
    writer.writeAttribute(QStringLiteral("name"), qText(folder.name));
    writer.writeAttribute(QStringLiteral("kind"), qText(ItemKindName(folder.kind)));
    if (!folder.contentClass.empty()) writer.writeAttribute(QStringLiteral("contentClass"), qText(folder.contentClass));
    if (folder.hidden) writer.writeAttribute(QStringLiteral("hidden"), QStringLiteral("true"));
    for (const FolderSpec& child : folder.children) writeFolder(writer, child);
    writer.writeEndElement();
}

void startDocument(QXmlStreamWriter& writer)
{
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
}

using Archive = std::unique_ptr<archive, decltype(&archive_read_free)>;

[[noreturn]] void unreadableCabinet(std::string_view cabinet, const std::string& why)
{
    throw com::ComError(com::E_FAIL, "The workspace template file \"" + std::string(cabinet) + "\" cannot be read: " + why);
}

std::string readMember(archive* reader, std::string_view cabinet)
{
    std::string content;
    char buffer[16384];
    for (;;) {
        const la_ssize_t count = archive_read_data(reader, buffer, sizeof buffer);
        if (count < 0) unreadableCabinet(cabinet, archive_error_string(reader));
        if (count == 0) return content;
        content.append(buffer, std::size_t(count));
    }
}

// Runs a program with arguments and waits for it; its exit status, or -1.
int runProgram(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

std::string WriteWorkspaceSchema(const WorkspaceSchema& schema)
{
    QByteArray xml;
    QXmlStreamWriter writer(&xml);
    startDocument(writer);
    writer.writeStartElement(QStringLiteral("workspaceSchema"));
    for (const PropertyDefinitionSpec& definition : schema.properties) {
        writer.writeStartElement(QStringLiteral("propertyDefinition"));
        writer.writeAttribute(QStringLiteral("file"), qText(definition.fileName));
        writer.writeAttribute(QStringLiteral("name"), qText(definition.propertyName));
        writer.writeAttribute(QStringLiteral("title"), qText(definition.title));
        writer.writeAttribute(QStringLiteral("description"), qText(definition.description));
        writer.writeAttribute(QStringLiteral("extendedType"), qText(definition.extendedType));
        writer.writeAttribute(QStringLiteral("dataType"), qText(definition.dataType));
        writer.writeAttribute(QStringLiteral("required"), definition.required ? QStringLiteral("true") : QStringLiteral("false"));
        writer.writeAttribute(QStringLiteral("multiValued"), definition.multiValued ? QStringLiteral("true") : QStringLiteral("false"));
        for (const std::string& value : definition.listValues) writer.writeTextElement(QStringLiteral("value"), qText(value));
        writer.writeEndElement();
    }
    for (const ContentClassSpec& contentClass : schema.contentClasses) {
        writer.writeStartElement(QStringLiteral("contentClass"));
        writer.writeAttribute(QStringLiteral("name"), qText(contentClass.name));
        writer.writeAttribute(QStringLiteral("title"), qText(contentClass.title));
        writer.writeAttribute(QStringLiteral("description"), qText(contentClass.description));
        for (const std::string& base : contentClass.baseClasses) writer.writeTextElement(QStringLiteral("extends"), qText(base));
        for (const std::string& property : contentClass.properties)
            writer.writeTextElement(QStringLiteral("property"), qText(property));
        writer.writeEndElement();
    }
    writer.writeEndDocument();
    return xml.toStdString();
}

WorkspaceSchema ParseWorkspaceSchema(std::string_view xml)
{
    QXmlStreamReader reader(QByteArray(xml.data(), qsizetype(xml.size())));
    requireRoot(reader, "workspaceSchema", "schema");
    WorkspaceSchema schema;
    while (reader.readNextStartElement()) {
        if (reader.name() == QLatin1String("propertyDefinition")) schema.properties.push_back(readPropertyDefinition(reader));
        else if (reader.name() == QLatin1String("contentClass")) schema.contentClasses.push_back(readContentClass(reader));
        else reader.skipCurrentElement();
    }
    if (reader.hasError()) malformed(reader, "schema");
    return schema;
}

std::string WriteWorkspaceTemplate(const WorkspaceTemplate& workspace)
{
    QByteArray xml;
    QXmlStreamWriter writer(&xml);
    startDocument(writer);
    writer.writeStartElement(QStringLiteral("workspaceTemplate"));
    for (const FolderSpec& folder : workspace.folders) writeFolder(writer, folder);
    writer.writeEndDocument();
    return xml.toStdString();
}

WorkspaceTemplate ParseWorkspaceTemplate(std::string_view xml)
{
    QXmlStreamReader reader(QByteArray(xml.data(), qsizetype(xml.size())));
    requireRoot(reader, "workspaceTemplate", "template");
    WorkspaceTemplate workspace;
    while (reader.readNextStartElement()) {
        if (reader.name() == QLatin1String("folder")) workspace.folders.push_back(readFolder(reader));
        else reader.skipCurrentElement();
    }
    if (reader.hasError()) malformed(reader, "template");
    return workspace;
}

WorkspaceTemplate ReadTemplateCabinet(int descriptor, std::string_view cabinet)
{
    Archive reader(archive_read_new(), archive_read_free);
    archive_read_support_format_cab(reader.get());
    if (archive_read_open_fd(reader.get(), descriptor, 16384) != ARCHIVE_OK)
        unreadableCabinet(cabinet, archive_error_string(reader.get()) ? archive_error_string(reader.get()) : "not found");
    archive_entry* entry = nullptr;
    for (;;) {
        const int status = archive_read_next_header(reader.get(), &entry);
        if (status == ARCHIVE_EOF) break;
        if (status != ARCHIVE_OK && status != ARCHIVE_WARN) unreadableCabinet(cabinet, archive_error_string(reader.get()));
        const char* name = archive_entry_pathname(entry);
        if (name && net::EqualsIgnoringCase(name, kTemplateMember)) return ParseWorkspaceTemplate(readMember(reader.get(), cabinet));
        archive_read_data_skip(reader.get());
    }
    unreadableCabinet(cabinet, "it holds no " + std::string(kTemplateMember));
}

std::string TemplateCabinetBytes(const WorkspaceTemplate& workspace)
{
    std::string folderPattern = (fs::temp_directory_path() / "tarvex-cabinet-XXXXXX").string();
    if (!::mkdtemp(folderPattern.data()))
        throw com::ComError(com::E_FAIL, std::string("Cannot make a temporary folder for a cabinet: ") + std::strerror(errno));
    const fs::path folder = folderPattern;
    const fs::path member = folder / std::string(kTemplateMember);
    const fs::path cabinet = folder / "template.cab";
    std::string bytes;
    {
        std::ofstream out(member, std::ios::binary);
        out << WriteWorkspaceTemplate(workspace);
    }
    if (runProgram({"gcab", "--create", "--nopath", cabinet.string(), member.string()}) == 0) {
        std::ifstream in(cabinet, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    if (bytes.empty()) throw com::ComError(com::E_FAIL, "A workspace template cabinet could not be made with gcab");
    return bytes;
}

} // namespace store
