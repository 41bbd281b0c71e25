#pragma once
// Copying the document profiles of one workspace into another: the property
// definitions of its schema folder, then its content classes.

#include "platform/ado/recordset.h"
#include "platform/com/variant.h"

#include <optional>
#include <string>
#include <string_view>

// A row of the type table: the extended type a definition is copied as, the
// data type written with it, and whether its list values go along.
struct ProfileType {
    std::string_view name;
    std::string_view dataType;
    bool copiesListValues = false;
};

// The row whose type name equals the extended type in any letter case;
// none for a type that is not copied.
std::optional<ProfileType> MatchProfileType(std::string_view extendedType);

// The profile copy between the workspaces of the two panes' address boxes,
// for a user who coordinates the destination workspace.
void CheckPerm_CreateProfiles();
// Copies the property definitions of the source workspace's schema folder.
// The type text becomes the shared replication type; types 3 and 0 move the
// progress bar and show the workspaces.
void CreateProfilesInDestination(const std::string& type, const std::string& sourceWorkspace,
                                 const std::string& destinationWorkspace);
// The items of the schema folder at url; an empty record set when there are none.
ado::Recordset GetProfilesInSource(const std::string& url);
void CreateProfiles(const std::string& sourceSchema, const std::string& destinationSchema, ado::Recordset& items);
// Creates the property definition at url, or updates the one there.
void CreateProfilesA(const std::string& url, const std::string& propertyName, const std::string& title,
                     const std::string& description, bool required, const std::string& typeName, bool multiValued,
                     const com::Variant& listValues);
// Copies the source workspace's content classes.
void ManageContentClasses(const std::string& sourceWorkspace, const std::string& destinationWorkspace);
// Creates the content class item at destination from the one at source, or
// updates the one there.
void CreateContentClass(const std::string& source, const std::string& destination);
// The part after the last ":" ("urn:content-classes:Memo" gives "Memo").
std::string ExtractName(const std::string& text);
