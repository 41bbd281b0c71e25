#include "components/netperm/permission_text.h"

namespace netperm {

namespace {

constexpr std::uint32_t kReadMask = 0x1200A9;
constexpr std::uint32_t kChangeMask = 0x1301BF;
constexpr std::uint32_t kFullMask = 0x1F01FF;

struct SpecialRight {
    std::uint32_t bits;
    char letter;
};

constexpr SpecialRight kSpecialRights[] = {
    {0x120089, 'R'}, {0x120116, 'W'}, {0x1200A0, 'X'}, {0x10000, 'D'}, {0x40000, 'P'}, {0x80000, 'O'},
};

} // namespace

std::string AccessMaskToRightText(std::uint32_t mask, net::AceType type, DenyText denyText)
{
    if (mask == kReadMask) return "Read";
    if (mask == kChangeMask) return "Change";
    if (mask == kFullMask)
        return type == net::AceType::Deny && denyText == DenyText::NoAccess ? "No Access" : "Full Control";
    std::string letters;
    for (const SpecialRight& right : kSpecialRights)
        if ((mask & right.bits) == right.bits) letters += right.letter;
    return letters.empty() ? "Special Access " : "Special Access (" + letters + ")";
}

std::string QualifiedAccountName(const std::string& domain, const std::string& account)
{
    return domain.empty() ? account : domain + "\\" + account;
}

std::string PermissionEntryText(const std::string& domain, const std::string& account, const std::string& right)
{
    return QualifiedAccountName(domain, account) + " @\\@ " + right;
}

std::int16_t AccountTypeOf(net::SidNameUse use)
{
    switch (use) {
    case net::SidTypeUser: return 0;
    case net::SidTypeGroup:
    case net::SidTypeAlias:
    case net::SidTypeWellKnownGroup: return 1;
    default: return 2;
    }
}

} // namespace netperm
