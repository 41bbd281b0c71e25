#include "app/engine/cart_entries.h"

#include "app/core/runtime_errors.h"
#include "app/core/text_lists.h"
#include "app/engine/runtime_values.h"

std::vector<std::string> SplitEntries(std::string_view list, std::string_view separator)
{
    std::vector<std::string> parts = SplitText(list, separator);
    if (!parts.empty()) parts.pop_back();
    return parts;
}

const std::string& EntryAt(const std::vector<std::string>& entries, std::size_t index)
{
    if (index >= entries.size()) RaiseRuntimeError(kSubscriptOutOfRange);
    return entries[index];
}

bool IsReplicationType(std::string_view typeText, int code) { return TextIsNumber(typeText, code); }
