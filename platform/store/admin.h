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

// Content that looks like a binary file (every byte value occurs), the same
// for the same size and seed.
std::string GeneratedBinaryContent(std::size_t size, std::uint32_t seed);
// Copies a local folder tree below folderUrl: every file a document
// (created checked in), every folder a folder. Returns the number of items made.
int ImportFolderTree(const std::filesystem::path& localFolder, const std::string& folderUrl);

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
// (documents) and "children" (containers, workspaces for the container).
std::string DumpItemTree(const std::string& url);

} // namespace store
