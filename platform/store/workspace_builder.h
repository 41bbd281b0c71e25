#pragma once
// The items of a new workspace, made from the server's template: its folders,
// the "system/schema" folder with the default property definitions and content
// classes, and the creator as its only coordinator.

#include "platform/store/item_files.h"
#include "platform/store/workspace_template.h"

#include <string>
#include <string_view>

namespace store {

// The localized titles of a workspace's Documents and Categories folders.
struct WorkspaceFolderTitles {
    std::string documents;
    std::string categories;
};
// "de": "Dokumente"/"Kategorien"; any other language: "Documents"/"Categories".
WorkspaceFolderTitles FolderTitlesFor(std::string_view languageCode);

// The property names under which schema items keep their values.
namespace schema_property {
inline constexpr char kName[] = "urn:schemas-microsoft-com:xml-data#name";
inline constexpr char kRequired[] = "urn:schemas-microsoft-com:exch-Data:isrequired";
inline constexpr char kMultiValued[] = "urn:schemas-microsoft-com:exch-Data:ismultivalued";
inline constexpr char kExtendedType[] = "urn:schemas-microsoft-com:publishing:extended-type";
inline constexpr char kDataType[] = "urn:schemas-microsoft-com:datatypes#type";
inline constexpr char kDictionary[] = "urn:schemas-microsoft-com:exch-data:dictionary";
inline constexpr char kIndexed[] = "urn:schemas-microsoft-com:exch-data:isindexed";
inline constexpr char kSearchable[] = "urn:schemas-microsoft-com:exch-data:issearchable";
inline constexpr char kRetrievable[] = "urn:schemas-microsoft-com:exch-data:isretrievable";
inline constexpr char kReadOnly[] = "urn:schemas-microsoft-com:exch-data:isreadonly";
inline constexpr char kVisible[] = "urn:schemas-microsoft-com:exch-data:isvisible";
inline constexpr char kExtends[] = "urn:schemas-microsoft-com:xml-data#extends";
inline constexpr char kElements[] = "urn:schemas-microsoft-com:xml-data#element";
inline constexpr char kPropertyOrder[] = "urn:schemas-microsoft-com:publishing:propertyorder";
} // namespace schema_property

inline constexpr std::string_view kContentClassPrefix = "urn:content-classes:";
inline constexpr std::string_view kContentClassSuffix = "_CC.xml";

// The item of a property definition and of a content class.
ItemData PropertyDefinitionData(const PropertyDefinitionSpec& definition, sys::DateTime now);
ItemData ContentClassData(const ContentClassSpec& contentClass, sys::DateTime now);

// The whole new workspace, ready to be written in one step.
NewItem BuildWorkspace(const std::string& name, const WorkspaceSchema& schema, const WorkspaceTemplate& folders,
                       const std::string& coordinator, sys::DateTime now);

} // namespace store
