#pragma once
// Building and inspecting a simulated network of store servers: what the
// network admin command and the tests use. Every function acts through the
// store objects as the current user, so the user needs the roles and
// administrator rights the store asks for.

#include "platform/store/roles.h"
#include "platform/store/sps.h"
#include "platform/store/workspace_template.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace store {

enum class ServerLanguage { English, German };

// "en"/"english" and "de"/"german", without regard to case.
std::optional<ServerLanguage> ParseServerLanguage(std::string_view text);
std::string ServerLanguageCode(ServerLanguage language); // "en", "de"

// Where a store server is installed, as its registry tells it.
inline constexpr std::string_view kInstallPathKey = "SOFTWARE\\Microsoft\\SharePoint Portal Server";
inline constexpr std::string_view kInstallPathValue = "InstallPath";
inline constexpr std::string_view kDefaultInstallPath = "C:\\Program Files\\SharePoint Portal Server";

// The folders and schema a new server's template holds, by language.
WorkspaceTemplate DefaultWorkspaceTemplate(ServerLanguage language);
WorkspaceSchema DefaultWorkspaceSchema();

// Turns an existing host into a store server: the "MSDMSERV" service, an empty
// store of that language, the template files "localschema.xml" and
// "defaultworkspace.cab" in the bin folder of the installation on C$, and the
// registry value InstallPath. Running it again keeps the store's content.
void MakeStoreServer(const std::string& host, ServerLanguage language);

// "\\HOST\C$\<installation>\bin\" from the host's registry InstallPath.
std::string TemplateFolderUnc(const std::string& host);

// The data type a property definition of that extended type holds: "i4" for
// "Number", "dateTime" for "Date", "string" for the others.
std::string DataTypeFor(std::string_view extendedType);

// Creates a workspace from the server's own template; returns its URL.
std::string AddWorkspace(const std::string& host, const std::string& name);
// Creates a folder or category folder below parentUrl; returns its URL.
std::string AddFolder(const std::string& parentUrl, const std::string& name, ItemKind kind = ItemKind::Folder,
                      const std::string& contentClass = {});

enum class DocumentState {
    CheckedOut,        // as saved: checked out to the current user
    CreatedCheckedIn,  // stored checked in at its first version
    CheckedIn,         // saved, then checked in
    Published,         // saved, checked in and published
};

struct DocumentSpec {
    DocumentSpec() = default;
    explicit DocumentSpec(std::string bytes) : content(std::move(bytes)) {}

    std::string content;
    std::string contentType;   // empty: guessed from the name's extension
    std::string contentClass;  // empty: the store's default for documents
    DocumentState state = DocumentState::CreatedCheckedIn;
    std::map<std::string, com::Variant> properties;
    std::vector<std::string> firstList;
    std::vector<std::string> secondList;
};

// Creates a document in folderUrl; returns its URL.
std::string AddDocument(const std::string& folderUrl, const std::string& name, const DocumentSpec& document);

// What a command that adds items does with a name that is taken already.
enum class IfExists {
    Fail,     // errItemExists
    Skip,     // a document is left as it is; an existing folder is kept and filled
    Replace,  // a document is made anew in place of the old one, which stays whole until
              // the new one takes its name; an existing folder is kept and filled
};
enum class Added { Created, Replaced, Skipped };

// AddDocument with a rule for a name that is taken. A folder of that name is
// never replaced by a document: errItemExists.
Added PutDocument(const std::string& folderUrl, const std::string& name, const DocumentSpec& document, IfExists ifExists);

// Content that looks like a binary file (every byte value occurs), the same
// for the same size and seed.
std::string GeneratedBinaryContent(std::size_t size, std::uint32_t seed);
// Copies a local folder tree below folderUrl: every file a document
// (created checked in), every folder a folder; links are followed. The whole
// local tree is read, and every name checked, before anything is written: a
// missing or unreadable folder, a link that leads back into the tree, or a
// name the store cannot hold gives a ComError naming it and writes nothing.
// Names that are taken are handled by ifExists, so an import that stopped
// midway can be finished by importing again with Skip or Replace.
struct ImportCounts {
    int written = 0;   // items created or replaced
    int skipped = 0;   // documents left as they were
};
ImportCounts ImportFolderTree(const std::filesystem::path& localFolder, const std::string& folderUrl,
                              IfExists ifExists = IfExists::Fail);

void AddPropertyDefinition(const std::string& workspaceUrl, const PropertyDefinitionSpec& definition);
void AddContentClass(const std::string& workspaceUrl, const ContentClassSpec& contentClass);

// Gives a folder or workspace its own role lists.
void SetRoles(const std::string& url, const RoleLists& roles);
// Makes a folder take its parent's roles again.
void InheritRoles(const std::string& url);

// The demo network in the current network root: the store server SPSSOURCE
// with two populated workspaces, the empty English server SPSTARGET and the
// empty German server SPSBERLIN; the current user administrator of all three
// and coordinator of the workspaces.
void BuildDemoNetwork();

// The item tree below url as indented JSON: per item "url", "kind", "name",
// "contentClass", "properties", "roles" (containers), "size" and "sha256"
// (documents) and "children" (containers, workspaces for the container). An
// item below url that cannot be read (damaged, say) shows as its "url",
// "name" and "error", its error text also going to failures; the item at url
// itself must be readable.
std::string DumpItemTree(const std::string& url, std::vector<std::string>* failures = nullptr);

} // namespace store
