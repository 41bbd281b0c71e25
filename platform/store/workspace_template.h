#pragma once
// The template a store server creates its workspaces from: the schema file
// ("localschema.xml": the default property definitions and content classes)
// and the content cabinet ("defaultworkspace.cab": the default folders, listed
// in its member "workspace.xml").

#include "platform/store/sps.h"

#include <string>
#include <string_view>
#include <vector>

namespace store {

struct PropertyDefinitionSpec {
    std::string fileName;       // the item's name in "system/schema", e.g. "Author.xml"
    std::string propertyName;   // "urn:schemas-microsoft-com:office:office#Author"
    std::string title;
    std::string description;
    std::string extendedType;   // "Text", "Number", "List", "Date", "Comment Box"
    std::string dataType;       // "string", "i4", "dateTime"
    bool required = false;
    bool multiValued = false;
    std::vector<std::string> listValues;

    friend bool operator==(const PropertyDefinitionSpec&, const PropertyDefinitionSpec&) = default;
};

struct ContentClassSpec {
    std::string name;                     // "Memo": item "Memo_CC.xml", class "urn:content-classes:Memo"
    std::string title;
    std::string description;
    std::vector<std::string> baseClasses; // classes it extends, in URN form
    std::vector<std::string> properties;  // property names, in display order

    friend bool operator==(const ContentClassSpec&, const ContentClassSpec&) = default;
};

struct WorkspaceSchema {
    std::vector<PropertyDefinitionSpec> properties;
    std::vector<ContentClassSpec> contentClasses;

    friend bool operator==(const WorkspaceSchema&, const WorkspaceSchema&) = default;
};

struct FolderSpec {
    std::string name;
    ItemKind kind = ItemKind::Folder;     // Folder or CategoryFolder
    std::string contentClass;             // empty: the kind's own
    bool hidden = false;
    std::vector<FolderSpec> children;

    friend bool operator==(const FolderSpec&, const FolderSpec&) = default;
};

struct WorkspaceTemplate {
    std::vector<FolderSpec> folders;

    friend bool operator==(const WorkspaceTemplate&, const WorkspaceTemplate&) = default;
};

// The XML of "localschema.xml"; parsing throws ComError(E_FAIL) naming the
// line of a malformed document.
std::string WriteWorkspaceSchema(const WorkspaceSchema& schema);
WorkspaceSchema ParseWorkspaceSchema(std::string_view xml);

// The XML of the cabinet's "workspace.xml".
std::string WriteWorkspaceTemplate(const WorkspaceTemplate& workspace);
WorkspaceTemplate ParseWorkspaceTemplate(std::string_view xml);

// The name of the template member inside the cabinet.
inline constexpr std::string_view kTemplateMember = "workspace.xml";

// Reads "workspace.xml" out of an open cabinet file, named cabinet in errors;
// ComError(E_FAIL) when it is not a cabinet or lacks the member.
WorkspaceTemplate ReadTemplateCabinet(int descriptor, std::string_view cabinet);
// The bytes of a cabinet holding "workspace.xml", made with the gcab tool in
// a private temporary folder; ComError(E_FAIL) when gcab cannot be run or
// fails.
std::string TemplateCabinetBytes(const WorkspaceTemplate& workspace);

} // namespace store
