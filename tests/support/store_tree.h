#pragma once
// A store's item tree in the form a copy is compared in: what a copy must
// carry over of each item below a folder, by the item's path from that
// folder ("" for the folder itself, "/name/name" below it).

#include <nlohmann/json.hpp>

#include <map>
#include <string>

namespace testing_support {

// Documents: kind, content class, size, content hash, properties, security
// value and document state (checked in when created checked in); folders:
// kind, content class, the three role lists in force and the document
// profile.
std::map<std::string, nlohmann::json> ItemSummaries(const std::string& url);

// Each expected item is in the copy with the expected summary, and the copy
// holds nothing else; failures name the label and the item's path.
void ExpectSameItems(const std::map<std::string, nlohmann::json>& expected,
                     const std::map<std::string, nlohmann::json>& copied, const std::string& label);

} // namespace testing_support
