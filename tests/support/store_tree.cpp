#include "support/store_tree.h"

#include "platform/store/admin.h"

#include <gtest/gtest.h>

namespace testing_support {

namespace {

using json = nlohmann::json;

void Collect(const json& node, const std::string& path, std::map<std::string, json>& items)
{
    json summary = {{"kind", node["kind"]}, {"contentClass", node["contentClass"]}};
    if (node.contains("sha256")) {
        summary["size"] = node["size"];
        summary["sha256"] = node["sha256"];
        summary["properties"] = node["properties"];
        summary["securityValue"] = node["securityValue"];
        std::string state = node["publishing"]["documentstate"];
        summary["state"] = state == "createdcheckedin" ? "checkedin" : state;
    } else {
        summary["readers"] = node["roles"]["readers"];
        summary["authors"] = node["roles"]["authors"];
        summary["coordinators"] = node["roles"]["coordinators"];
        summary["documentProfile"] = node["documentProfile"];
    }
    items[path] = summary;
    if (node.contains("children"))
        for (const json& child : node["children"]) Collect(child, path + "/" + child["name"].get<std::string>(), items);
}

} // namespace

std::map<std::string, json> CopiedItems(const std::string& url)
{
    std::map<std::string, json> items;
    Collect(json::parse(store::DumpItemTree(url)), "", items);
    return items;
}

void ExpectSameItems(const std::map<std::string, json>& expected, const std::map<std::string, json>& copied,
                     const std::string& label)
{
    for (const auto& [path, item] : expected) {
        const auto found = copied.find(path);
        if (found == copied.end()) ADD_FAILURE() << label << path << " is missing from the copy";
        else EXPECT_EQ(found->second, item) << label << path;
    }
    for (const auto& [path, item] : copied)
        EXPECT_TRUE(expected.count(path)) << label << path << " is in the copy but not expected: " << item;
}

std::vector<std::string> SchemaItemNames(const std::string& workspaceUrl)
{
    std::vector<std::string> names;
    const json schema = json::parse(store::DumpItemTree(workspaceUrl + "/system/schema"));
    for (const json& child : schema["children"]) names.push_back(child["name"]);
    return names;
}

} // namespace testing_support
