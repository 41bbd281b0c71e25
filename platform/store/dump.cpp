// The JSON dump of an item tree.

#include "platform/store/admin.h"

#include "platform/store/item_session.h"
#include "platform/store/item_url.h"
#include "platform/store/variant_json.h"

#include <QByteArray>
#include <QCryptographicHash>

#include <nlohmann/json.hpp>

namespace store {

namespace {

using json = nlohmann::ordered_json;

std::string sha256(const std::string& bytes)
{
    return QCryptographicHash::hash(QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size())),
                                    QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

json propertiesOf(const ItemData& data)
{
    json properties = json::object();
    for (const auto& [name, value] : data.properties) properties[name] = VariantToPlainJson(value);
    return properties;
}

struct Child {
    std::string name;
    std::string url;
};

std::vector<Child> childrenOf(const ItemSession& item)
{
    std::vector<Child> children;
    for (const bool containers : {true, false}) {
        ado::Recordset listing = item.listing(containers);
        for (; !listing.eof(); listing.moveNext())
            children.push_back({listing.field("RESOURCE_PARSENAME").toString(), listing.field("DAV:href").toString()});
    }
    return children;
}

json dumpItem(const std::string& url, std::vector<std::string>& failures);

// A child that cannot be read shows as its name and the error, and the dump
// goes on with the others.
json dumpChild(const Child& child, std::vector<std::string>& failures)
{
    try {
        return dumpItem(child.url, failures);
    } catch (const com::ComError& error) {
        failures.push_back(error.description());
        return {{"url", child.url}, {"name", child.name}, {"error", error.description()}};
    }
}

json dumpItem(const std::string& url, std::vector<std::string>& failures)
{
    ItemSession item(ItemKind::Document);
    item.open(url);
    const ItemData& data = item.data();
    json node = {{"url", url},
                 {"kind", ItemKindName(data.kind)},
                 {"name", item.displayName()},
                 {"contentClass", data.contentClass},
                 {"title", data.title},
                 {"description", data.description},
                 {"hidden", data.hidden},
                 {"lastModified", sys::GeneralDateText(data.lastModified)},
                 {"properties", propertiesOf(data)}};
    if (!IsContainer(data.kind)) {
        const std::string& content = *item.content();
        node["size"] = content.size();
        node["sha256"] = sha256(content);
        node["contentType"] = data.contentType;
        node["securityValue"] = VariantToPlainJson(data.securityValue);
        node["metadataValue"] = VariantToPlainJson(data.metadataValue);
        node["firstList"] = VariantToPlainJson(data.firstList);
        node["secondList"] = VariantToPlainJson(data.secondList);
        node["publishing"] = {{"IsCheckedOut", item.property("urn:schemas-microsoft-com:publishing:IsCheckedOut").toString()},
                              {"checkedOutBy", data.publishing.checkedOutBy},
                              {"LastUnapprovedVersion", data.publishing.lastUnapprovedVersion},
                              {"documentstate", data.publishing.documentState}};
        return node;
    }
    if (data.kind == ItemKind::Server) {
        node["language"] = data.language;
    } else {
        const RoleLists roles = item.rolesInForce();
        node["roles"] = {{"inherited", data.inheritsRoles},
                         {"readers", roles.readers},
                         {"authors", roles.authors},
                         {"coordinators", roles.coordinators}};
        node["documentProfile"] = VariantToPlainJson(data.documentProfile);
    }
    json children = json::array();
    for (const Child& child : childrenOf(item)) children.push_back(dumpChild(child, failures));
    node["children"] = std::move(children);
    return node;
}

} // namespace

std::string DumpItemTree(const std::string& url, std::vector<std::string>* failures)
{
    std::vector<std::string> found;
    std::string text = dumpItem(url, found).dump(2, ' ', false, json::error_handler_t::replace) + "\n";
    if (failures) *failures = std::move(found);
    return text;
}

} // namespace store
