#pragma once
// What a copy must carry over of a store's items, read through the store's
// JSON dump, so that a test compares a copied tree with its source item by
// item.

#include <nlohmann/json.hpp>

#include <map>
#include <string>
#include <vector>

namespace testing_support {

// For the item at url and each item below it, by its path from url ("" the
// item itself, "/a/b.txt" below): kind and content class; for a document its
// size, checksum, properties, security value and state (created checked in
// reads as checked in); for a container its roles and document profile.
std::map<std::string, nlohmann::json> CopiedItems(const std::string& url);

// Each expected item is in the copy with the expected summary, and the copy
// holds nothing else; failures name the label and the item's path.
void ExpectSameItems(const std::map<std::string, nlohmann::json>& expected,
                     const std::map<std::string, nlohmann::json>& copied, const std::string& label);

// The names of the items in the workspace's schema folder.
std::vector<std::string> SchemaItemNames(const std::string& workspaceUrl);

} // namespace testing_support
