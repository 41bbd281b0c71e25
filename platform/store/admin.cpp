#include "platform/store/admin.h"

#include "platform/com/registry_handle.h"

#include "platform/net/case_fold.h"
#include "platform/net/folder.h"
#include "platform/registry/registry.h"
#include "platform/store/errors.h"
#include "platform/store/item_session.h"
#include "platform/store/item_url.h"
#include "platform/store/workspace_builder.h"

#include <QMimeDatabase>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/stat.h>

namespace store {

namespace fs = std::filesystem;

namespace {

constexpr char kSchemaFile[] = "localschema.xml";
constexpr char kCabinetFile[] = "defaultworkspace.cab";

void requireRegistry(winreg::Status status, const std::string& what)
{
    if (status != winreg::ERROR_SUCCESS)
        throw com::ComError(com::HResultFromWin32(std::uint32_t(status)), what + ": " + winreg::SystemMessage(status));
}

net::HostInfo requireHost(const std::string& host)
{
    std::optional<net::HostInfo> info = net::FindHost(host);
    if (!info) throw com::ComError(errHostNotFound, "The network has no host named " + host);
    return *info;
}

// The installation's bin folder on the host's drive C, as C$ shows it, made
// when missing.
net::Folder createBinFolder(const net::Folder& host)
{
    std::vector<std::string> segments = net::SplitPath(kDefaultInstallPath);
    segments.front() = "C"; // the drive "C:"
    segments.insert(segments.begin(), "drives");
    segments.push_back("bin");
    return host.createFolders(segments);
}

void writeInstallPath(const std::string& host)
{
    com::RegistryHandle machine;
    requireRegistry(winreg::ConnectRegistry(host, winreg::HKEY_LOCAL_MACHINE, machine.receive()),
                    "Cannot reach the registry of " + host);
    com::RegistryHandle key;
    requireRegistry(winreg::CreateKey(machine.get(), kInstallPathKey, false, key.receive()),
                    "Cannot create the installation key on " + host);
    requireRegistry(com::WriteRegistryString(key.get(), kInstallPathValue, kDefaultInstallPath),
                    "Cannot write the installation path on " + host);
}

std::string readInstallPath(const std::string& host)
{
    com::RegistryHandle machine;
    requireRegistry(winreg::ConnectRegistry(host, winreg::HKEY_LOCAL_MACHINE, machine.receive()),
                    "Cannot reach the registry of " + host);
    std::optional<std::string> path = com::ReadRegistryString(machine.get(), kInstallPathKey, kInstallPathValue);
    if (!path) throw com::ComError(com::HResultFromWin32(winreg::ERROR_FILE_NOT_FOUND), "No installation path on " + host);
    return *path;
}

void writeServerLanguage(const std::string& host, ServerLanguage language)
{
    std::shared_ptr<HostStore> store = HostStore::Connect(host);
    ItemFiles files(*store);
    ItemData data = files.loadContainer({});
    data.language = ServerLanguageCode(language);
    data.lastModified = sys::Now();
    HostStore::WriteLock lock(*store);
    files.replaceContainer(lock, {}, data, StoreChange::Container);
}

std::string readLocalFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    if (!in) throw com::ComError(com::E_FAIL, "Cannot read " + path.string());
    return content.str();
}

std::string contentTypeFor(const std::string& name)
{
    return QMimeDatabase().mimeTypeForFile(QString::fromStdString(name), QMimeDatabase::MatchExtension).name().toStdString();
}

std::string schemaFolderUrl(const std::string& workspaceUrl)
{
    return ChildUrl(ChildUrl(workspaceUrl, "system"), "schema");
}

void saveSchemaItem(ItemKind kind, ItemData data, const std::string& url)
{
    ItemSession item(kind);
    item.editableData() = std::move(data);
    item.saveTo(url);
}

} // namespace

std::optional<ServerLanguage> ParseServerLanguage(std::string_view text)
{
    if (net::EqualsIgnoringCase(text, "en") || net::EqualsIgnoringCase(text, "english")) return ServerLanguage::English;
    if (net::EqualsIgnoringCase(text, "de") || net::EqualsIgnoringCase(text, "german")) return ServerLanguage::German;
    return std::nullopt;
}

std::string ServerLanguageCode(ServerLanguage language)
{
    return language == ServerLanguage::German ? "de" : "en";
}

WorkspaceTemplate DefaultWorkspaceTemplate(ServerLanguage language)
{
    const WorkspaceFolderTitles titles = FolderTitlesFor(ServerLanguageCode(language));
    const std::string management = language == ServerLanguage::German ? "Verwaltung" : "Management";
    return WorkspaceTemplate{{
        FolderSpec{titles.documents, ItemKind::Folder, "urn:content-classes:smartfolder", false, {}},
        FolderSpec{titles.categories, ItemKind::CategoryFolder, {}, false, {}},
        FolderSpec{management, ItemKind::Folder, {}, false, {}},
        FolderSpec{"system", ItemKind::Folder, {}, true, {FolderSpec{"schema", ItemKind::Folder, {}, true, {}}}},
    }};
}

WorkspaceSchema DefaultWorkspaceSchema()
{
    const std::string office = "urn:schemas-microsoft-com:office:office#";
    return WorkspaceSchema{
        {
            {"Title.xml", office + "Title", "Title", "The document's title", "Text", "string", false, false, {}},
            {"Author.xml", office + "Author", "Author", "Who wrote the document", "Text", "string", false, false, {}},
            {"Keywords.xml", office + "Keywords", "Keywords", "Words to find the document by", "Text", "string", false, true, {}},
            {"Description.xml", office + "Description", "Description", "What the document is about", "Comment Box",
             "string", false, false, {}},
        },
        {
            {"Document", "Base Document", "The profile every document starts with", {"urn:content-classes:document"},
             {office + "Title", office + "Author", office + "Keywords", office + "Description"}},
        }};
}

void MakeStoreServer(const std::string& host, ServerLanguage language)
{
    net::HostInfo info = requireHost(host);
    if (!info.runsService(kStoreService)) {
        info.services.push_back(kStoreService);
        info = net::SaveHost(info);
    }
    const net::Folder hostFolder = net::CreateHostFolder(info.name);
    hostFolder.createFolders({"store"});
    writeServerLanguage(info.name, language);

    const net::Folder bin = createBinFolder(hostFolder);
    bin.writeFile(kSchemaFile, WriteWorkspaceSchema(DefaultWorkspaceSchema()));
    bin.writeFile(kCabinetFile, TemplateCabinetBytes(DefaultWorkspaceTemplate(language)));
    writeInstallPath(info.name);
}

std::string TemplateFolderUnc(const std::string& host)
{
    const std::string installPath = readInstallPath(host);
    // The drive's colon becomes the "$" of its administrative share.
    std::string share;
    std::size_t start = 0;
    for (bool first = true;; first = false) {
        const std::size_t colon = installPath.find(':', start);
        share += installPath.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
        if (first) share += '$';
        if (colon == std::string::npos) break;
        start = colon + 1;
    }
    return "\\\\" + host + "\\" + share + "\\bin\\";
}

std::string DataTypeFor(std::string_view extendedType)
{
    if (net::EqualsIgnoringCase(extendedType, "Number")) return "i4";
    if (net::EqualsIgnoringCase(extendedType, "Date")) return "dateTime";
    return "string";
}

std::string AddWorkspace(const std::string& host, const std::string& name)
{
    SpsServer server;
    server.setPreOpenFlag(true);
    server.DataSource().Open(ItemUrlText(host, {std::string(kContainerSegment1), std::string(kContainerSegment2)}));
    const std::string bin = TemplateFolderUnc(host);
    const std::string url = ItemUrlText(host, {name});
    server.CreateWorkspace(url, bin + kSchemaFile, bin + kCabinetFile, 0);
    return url;
}

std::string AddFolder(const std::string& parentUrl, const std::string& name, ItemKind kind, const std::string& contentClass)
{
    if (kind != ItemKind::Folder && kind != ItemKind::CategoryFolder)
        throw com::ComError(com::E_INVALIDARG, "Only folders and category folders can be added as folders");
    ItemSession folder(kind);
    if (!contentClass.empty()) folder.editableData().contentClass = contentClass;
    const std::string url = ChildUrl(parentUrl, name);
    folder.saveTo(url);
    return url;
}

namespace {

// Creates the document, or puts it in place of the item of that name.
std::string saveDocument(const std::string& folderUrl, const std::string& name, const DocumentSpec& document,
                         ItemSession::Taken taken)
{
    ItemSession item(ItemKind::Document);
    ItemData& data = item.editableData();
    data.contentType = document.contentType.empty() ? contentTypeFor(name) : document.contentType;
    data.contentClass = document.contentClass;
    for (const auto& [property, value] : document.properties) item.setProperty(property, value);
    data.firstList = com::Variant::StringArray(document.firstList);
    data.secondList = com::Variant::StringArray(document.secondList);
    *item.content() = Content(document.content);

    const std::string url = ChildUrl(folderUrl, name);
    if (document.state == DocumentState::CreatedCheckedIn) {
        data.publishing = PublishingState{{}, 1, 0, {}, "createdcheckedin"};
        item.saveTo(url, ItemSession::Publishing::AsGiven, taken);
        return url;
    }
    item.saveTo(url, ItemSession::Publishing::Fresh, taken);
    if (document.state == DocumentState::CheckedIn) item.checkIn();
    if (document.state == DocumentState::Published) item.publish();
    return url;
}

} // namespace

std::string AddDocument(const std::string& folderUrl, const std::string& name, const DocumentSpec& document)
{
    return saveDocument(folderUrl, name, document, ItemSession::Taken::Refuse);
}

namespace {

// Runs add; false when the name was taken and ifExists lets the command go on.
template <class Add>
bool added(Add add, IfExists ifExists)
{
    try {
        add();
        return true;
    } catch (const com::ComError& error) {
        if (error.number() != errItemExists || ifExists == IfExists::Fail) throw;
        return false;
    }
}

// Refuses the item that has the name a new item was to take unless it is a
// folder for a folder, a document for a document (errItemExists).
void requireTakenBySameKind(const std::string& url, bool container)
{
    ItemSession existing(ItemKind::Document);
    existing.open(url);
    if (IsContainer(existing.kind()) != container)
        throw com::ComError(errItemExists, "\"" + url + "\" is a " + (container ? "document" : "folder") + ": a "
                                               + (container ? "folder" : "document") + " cannot take its place");
}

} // namespace

Added PutDocument(const std::string& folderUrl, const std::string& name, const DocumentSpec& document, IfExists ifExists)
{
    if (added([&] { AddDocument(folderUrl, name, document); }, ifExists)) return Added::Created;
    requireTakenBySameKind(ChildUrl(folderUrl, name), false);
    if (ifExists == IfExists::Skip) return Added::Skipped;
    saveDocument(folderUrl, name, document, ItemSession::Taken::Replace);
    return Added::Replaced;
}

namespace {

// A local entry to import, found before anything is written.
struct LocalEntry {
    fs::path path;
    std::vector<std::string> names; // below the local folder
    bool folder = false;
};

[[noreturn]] void throwLocalError(long code, const std::string& text)
{
    throw com::ComError(com::HResultFromWin32(std::uint32_t(code)), text);
}

[[noreturn]] void throwUnreadableFolder(const fs::path& folder, const std::string& reason)
{
    throwLocalError(net::ERROR_PATH_NOT_FOUND, "Cannot read the local folder \"" + folder.string() + "\": " + reason);
}

struct FileIdentity {
    dev_t device;
    ino_t inode;
    bool operator==(const FileIdentity&) const = default;
};

// The entries below folder, depth first in name order. ancestors holds the
// folders on the way down, so that a link leading back up is found.
void scanLocalFolder(const fs::path& folder, const std::vector<std::string>& names, std::vector<FileIdentity>& ancestors,
                     std::vector<LocalEntry>& entries)
{
    struct stat status {};
    if (::stat(folder.c_str(), &status) != 0)
        throwUnreadableFolder(folder, std::strerror(errno));
    const FileIdentity identity{status.st_dev, status.st_ino};
    if (std::find(ancestors.begin(), ancestors.end(), identity) != ancestors.end())
        throwLocalError(net::ERROR_CANT_RESOLVE_FILENAME,
                        "The local folder \"" + folder.string() + "\" leads back into a folder above it through a link");
    std::error_code error;
    std::vector<fs::path> children;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        children.push_back(it->path());
    if (error) throwUnreadableFolder(folder, error.message());
    std::sort(children.begin(), children.end());

    ancestors.push_back(identity);
    for (const fs::path& child : children) {
        std::vector<std::string> childNames = names;
        childNames.push_back(child.filename().string());
        RequireNewItemName(childNames.back());
        if (fs::is_directory(child, error)) {
            entries.push_back({child, childNames, true});
            scanLocalFolder(child, childNames, ancestors, entries);
        } else if (fs::is_regular_file(child, error)) {
            entries.push_back({child, std::move(childNames), false});
        }
    }
    ancestors.pop_back();
}

// The folder a folder entry stands for: made (true), or the existing one kept.
std::pair<std::string, bool> putFolder(const std::string& parentUrl, const std::string& name, IfExists ifExists)
{
    const std::string url = ChildUrl(parentUrl, name);
    if (added([&] { AddFolder(parentUrl, name); }, ifExists)) return {url, true};
    requireTakenBySameKind(url, true);
    return {url, false};
}

} // namespace

ImportCounts ImportFolderTree(const fs::path& localFolder, const std::string& folderUrl, IfExists ifExists)
{
    std::vector<LocalEntry> entries;
    std::vector<FileIdentity> ancestors;
    scanLocalFolder(localFolder, {}, ancestors, entries);

    ImportCounts counts;
    std::map<std::string, std::string> folderUrls; // by the entry's names joined with "/"
    for (const LocalEntry& entry : entries) {
        const std::vector<std::string> parent(entry.names.begin(), entry.names.end() - 1);
        const std::string parentUrl = parent.empty() ? folderUrl : folderUrls.at(NamesKey(parent));
        if (entry.folder) {
            const auto [url, created] = putFolder(parentUrl, entry.names.back(), ifExists);
            folderUrls[NamesKey(entry.names)] = url;
            counts.written += created ? 1 : 0;
        } else if (PutDocument(parentUrl, entry.names.back(), DocumentSpec(readLocalFile(entry.path)), ifExists)
                   == Added::Skipped) {
            ++counts.skipped;
        } else {
            ++counts.written;
        }
    }
    return counts;
}

void AddPropertyDefinition(const std::string& workspaceUrl, const PropertyDefinitionSpec& definition)
{
    saveSchemaItem(ItemKind::PropertyDef, PropertyDefinitionData(definition, sys::Now()),
                   ChildUrl(schemaFolderUrl(workspaceUrl), definition.fileName));
}

void AddContentClass(const std::string& workspaceUrl, const ContentClassSpec& contentClass)
{
    saveSchemaItem(ItemKind::ContentClass, ContentClassData(contentClass, sys::Now()),
                   ChildUrl(schemaFolderUrl(workspaceUrl), contentClass.name + std::string(kContentClassSuffix)));
}

void SetRoles(const std::string& url, const RoleLists& roles)
{
    SpsFolder folder;
    folder.DataSource().Open(url);
    folder.setReaders(AccountsToVariant(roles.readers));
    folder.setAuthors(AccountsToVariant(roles.authors));
    folder.setCoordinators(AccountsToVariant(roles.coordinators));
    folder.DataSource().Save();
}

void InheritRoles(const std::string& url)
{
    SpsFolder folder;
    folder.DataSource().Open(url);
    folder.setInheritParentSecurity(true);
    folder.DataSource().Save();
}

std::string GeneratedBinaryContent(std::size_t size, std::uint32_t seed)
{
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        seed = seed * 1664525u + 1013904223u;
        byte = char(seed >> 24);
    }
    return bytes;
}

} // namespace store
