#pragma once
// Comparison of names without regard to letter case, as the simulated network
// matches host names, path segments and registry key names. ASCII text is
// folded directly; other UTF-8 text goes through Unicode case folding.

#include <string>
#include <string_view>

namespace net {

std::string CaseFold(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

} // namespace net
