#pragma once
// Comparison of names without regard to letter case, as the simulated network
// matches host names, path segments and registry key names. ASCII text is
// folded directly; other UTF-8 text goes through Unicode case folding.

#include <dirent.h>
#include <optional>
#include <string>
#include <string_view>

namespace net {

std::string CaseFold(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// The entry of the open folder whose name equals name without regard to case;
// the first in byte order when several do. nullopt when there is none or the
// folder cannot be read. One pass over the folder, folding only what could
// match.
std::optional<std::string> FindNameIgnoringCase(int folder, std::string_view name);

// A listing of the open folder from its start, with a reading position of its
// own; null when it cannot be read. Closed with closedir.
DIR* OpenFolderStream(int folder);

} // namespace net
