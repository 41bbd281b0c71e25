#pragma once
// Lists carried in one string with a separator between (or after, or before)
// the items.

#include <string>
#include <string_view>
#include <vector>

// The items of the text between the separators, like the runtime's Split: an
// empty text gives no items; "a|" split at "|" gives "a" and "".
std::vector<std::string> SplitText(std::string_view text, std::string_view separator);
