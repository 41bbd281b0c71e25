#pragma once
// Comparison of names without regard to letter case, as the simulated network
// matches host names, path segments and registry key names. ASCII text is
// folded directly; other UTF-8 text goes through Unicode case folding.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace net {

std::string CaseFold(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// The entry of folder whose name equals name without regard to case; the
// first in byte order when several do. nullopt when there is none or the
// folder cannot be read. One pass over the folder, folding only what could
// match.
std::optional<std::string> FindNameIgnoringCase(const std::filesystem::path& folder, std::string_view name);

} // namespace net
