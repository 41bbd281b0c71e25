#pragma once
// Copying folders and category folders into the destination, and walking a
// source folder tree.

#include "app/engine/creation_attempt.h"
#include "platform/com/variant.h"

#include <optional>
#include <string>

// Creates the destination folder from the source folder: its content class,
// optionally its document profile, and its security (inherited from the
// parent, or the source's role lists placed on destination roles by the role
// mapping). An existing destination folder is replaced.
void CreateSubFolder(const std::string& source, const std::string& destination, const com::Variant& coordinators,
                     const com::Variant& authors, const com::Variant& readers,
                     CreationAttempt attempt = CreationAttempt::First);
// Creates a category folder at url; an existing one is replaced.
void CreateCatFolder(const std::string& url, CreationAttempt attempt = CreationAttempt::First);
// Copies everything below the source folder into the destination folder:
// each subfolder followed at once by its subtree, then the documents.
void GetChildRecursive(const std::string& source, const std::string& destination);

// Whether a URL lies in a category tree: one of its "/"-separated parts is
// "Categories" or "Kategorien", in any letter case.
bool IsCategoryTree(const std::string& url);

// The destination role (0 readers, 1 authors, 2 coordinators) that a role
// mapping entry names; none for a number outside 0 to 2. An entry that is no
// number raises kTypeMismatch.
std::optional<int> DestinationRoleIndex(const std::string& mappingEntry);
