#include "components/netperm/result_lists.h"

namespace netperm {

com::Variant VariantList(std::vector<com::Variant> elements)
{
    return com::Variant(com::SafeArray{com::VT_VARIANT, 0, std::move(elements)});
}

com::Variant StringList(const std::vector<std::string>& texts)
{
    return VariantList({texts.begin(), texts.end()});
}

com::Variant Count(std::size_t count)
{
    return com::Variant(std::int32_t(count));
}

} // namespace netperm
