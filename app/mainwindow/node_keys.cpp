#include "app/mainwindow/node_keys.h"

#include "platform/net/case_fold.h"

#include <charconv>

namespace {

// No fixed key begins with this, so a named node's key never equals one.
constexpr std::string_view kNamedPrefix = "n:";

std::string numberText(int number) { return " " + std::to_string(number); }

} // namespace

std::string RootNodeKey() { return "Root"; }
std::string EntireNetworkNodeKey() { return "E1"; }
std::string DomainNodeKey(int domain) { return "D1" + numberText(domain); }
std::string DomainServerNodeKey(int domain, int server) { return "M1" + numberText(domain) + numberText(server); }
std::string NamedNodeKey(std::string_view itemUrl) { return std::string(kNamedPrefix) + net::CaseFold(itemUrl); }

std::optional<int> DomainNumberOfKey(std::string_view key)
{
    if (!key.starts_with("D1 ") && !key.starts_with("M1 ")) return std::nullopt;
    int number = 0;
    const char* first = key.data() + 3;
    const auto [end, error] = std::from_chars(first, key.data() + key.size(), number);
    if (error != std::errc() || end == first) return std::nullopt;
    return number;
}

void SetNodeKind(ui::TreeNode node, NodeKind kind) { node.setTag(int(kind)); }

NodeKind NodeKindOf(const ui::TreeNode& node) { return NodeKind(node.Tag().toInt()); }

bool IsServerNode(NodeKind kind) { return kind == NodeKind::ServerRoot || kind == NodeKind::DomainServer; }
