#include "platform/store/workspace_builder.h"

#include "platform/net/case_fold.h"

#include <algorithm>

namespace store {

namespace {

ItemData containerData(ItemKind kind, const std::string& contentClass, sys::DateTime now)
{
    ItemData data;
    data.kind = kind;
    data.contentClass = contentClass.empty() ? DefaultContentClass(kind) : contentClass;
    data.lastModified = now;
    data.inheritsRoles = kind != ItemKind::Workspace;
    return data;
}

NewItem folderItem(const FolderSpec& folder, sys::DateTime now)
{
    NewItem item{folder.name, containerData(folder.kind, folder.contentClass, now), {}, {}};
    item.data.hidden = folder.hidden;
    for (const FolderSpec& child : folder.children) item.children.push_back(folderItem(child, now));
    return item;
}

NewItem& childFolder(NewItem& parent, std::string_view name, sys::DateTime now)
{
    const auto found = std::find_if(parent.children.begin(), parent.children.end(),
                                    [&](const NewItem& child) { return net::EqualsIgnoringCase(child.name, name); });
    if (found != parent.children.end()) return *found;
    parent.children.push_back(NewItem{std::string(name), containerData(ItemKind::Folder, {}, now), {}, {}});
    return parent.children.back();
}

ItemData schemaItemData(ItemKind kind, const std::string& title, const std::string& description, sys::DateTime now)
{
    ItemData data;
    data.kind = kind;
    data.contentClass = DefaultContentClass(kind);
    data.title = title;
    data.description = description;
    data.lastModified = now;
    data.publishing.documentState = "createdcheckedin";
    return data;
}

} // namespace

WorkspaceFolderTitles FolderTitlesFor(std::string_view languageCode)
{
    if (net::EqualsIgnoringCase(languageCode, "de")) return {"Dokumente", "Kategorien"};
    return {"Documents", "Categories"};
}

ItemData PropertyDefinitionData(const PropertyDefinitionSpec& definition, sys::DateTime now)
{
    using namespace schema_property;
    ItemData data = schemaItemData(ItemKind::PropertyDef, definition.title, definition.description, now);
    PropertyMap& properties = data.properties;
    properties[kName] = definition.propertyName;
    properties[kRequired] = definition.required;
    properties[kMultiValued] = definition.multiValued;
    properties[kExtendedType] = definition.extendedType;
    properties[kDataType] = definition.dataType;
    if (!definition.listValues.empty()) properties[kDictionary] = com::Variant::StringArray(definition.listValues);
    properties[kIndexed] = true;
    properties[kSearchable] = true;
    properties[kRetrievable] = true;
    properties[kReadOnly] = false;
    properties[kVisible] = true;
    return data;
}

ItemData ContentClassData(const ContentClassSpec& contentClass, sys::DateTime now)
{
    using namespace schema_property;
    ItemData data = schemaItemData(ItemKind::ContentClass, contentClass.title, contentClass.description, now);
    data.properties[kName] = std::string(kContentClassPrefix) + contentClass.name;
    data.properties[kExtends] = com::Variant::StringArray(contentClass.baseClasses);
    data.properties[kElements] = com::Variant::StringArray(contentClass.properties);
    data.properties[kPropertyOrder] = com::Variant::StringArray(contentClass.properties);
    return data;
}

NewItem BuildWorkspace(const std::string& name, const WorkspaceSchema& schema, const WorkspaceTemplate& folders,
                       const std::string& coordinator, sys::DateTime now)
{
    NewItem workspace{name, containerData(ItemKind::Workspace, {}, now), {}, {}};
    workspace.data.roles.coordinators = {coordinator};
    for (const FolderSpec& folder : folders.folders) workspace.children.push_back(folderItem(folder, now));

    NewItem& schemaFolder = childFolder(childFolder(workspace, "system", now), "schema", now);
    for (const PropertyDefinitionSpec& definition : schema.properties)
        schemaFolder.children.push_back(NewItem{definition.fileName, PropertyDefinitionData(definition, now), {}, {}});
    for (const ContentClassSpec& contentClass : schema.contentClasses)
        schemaFolder.children.push_back(NewItem{contentClass.name + std::string(kContentClassSuffix),
                                                ContentClassData(contentClass, now), {}, {}});
    return workspace;
}

} // namespace store
