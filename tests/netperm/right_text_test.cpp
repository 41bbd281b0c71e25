// The right text of an access mask, compiled in from the component.

#include "components/netperm/permission_text.h"

#include <gtest/gtest.h>

namespace {

using netperm::AccessMaskToRightText;
using netperm::DenyText;
using net::AceType;

TEST(RightTextTest, EachMaskReadsAsTheRightItGrants)
{
    const struct {
        std::uint32_t mask;
        AceType type;
        DenyText denyText;
        const char* text;
    } cases[] = {
        {0x1200A9, AceType::Allow, DenyText::NoAccess, "Read"},
        {0x1200A9, AceType::Deny, DenyText::NoAccess, "Read"},
        {0x1301BF, AceType::Deny, DenyText::NoAccess, "Change"},
        {0x1F01FF, AceType::Allow, DenyText::NoAccess, "Full Control"},
        {0x1F01FF, AceType::Deny, DenyText::NoAccess, "No Access"},
        {0x1F01FF, AceType::Deny, DenyText::FullControl, "Full Control"},
        {0x120089, AceType::Allow, DenyText::NoAccess, "Special Access (R)"},
        {0x120116, AceType::Allow, DenyText::NoAccess, "Special Access (W)"},
        {0x1200A0, AceType::Allow, DenyText::NoAccess, "Special Access (X)"},
        {0x1201BF, AceType::Allow, DenyText::NoAccess, "Special Access (RWX)"},
        {0xD0000, AceType::Deny, DenyText::NoAccess, "Special Access (DPO)"},
        {0x1F0000 | 0x89, AceType::Allow, DenyText::NoAccess, "Special Access (RDPO)"},
        {0x0, AceType::Allow, DenyText::NoAccess, "Special Access "},
        {0x120088, AceType::Allow, DenyText::NoAccess, "Special Access "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AccessMaskToRightText(c.mask, c.type, c.denyText), c.text) << std::hex << c.mask;
}

TEST(RightTextTest, TheEntryNamesTheDomainOnlyWhenThereIsOne)
{
    EXPECT_EQ(netperm::PermissionEntryText("CORP", "anna", "Read"), "CORP\\anna @\\@ Read");
    EXPECT_EQ(netperm::PermissionEntryText("", "Everyone", "Special Access "), "Everyone @\\@ Special Access ");
}

} // namespace
