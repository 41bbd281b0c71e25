#include "app/core/text_lists.h"

std::vector<std::string> SplitText(std::string_view text, std::string_view separator)
{
    std::vector<std::string> items;
    if (text.empty()) return items;
    if (separator.empty()) return {std::string(text)};
    std::size_t start = 0;
    for (std::size_t found; (found = text.find(separator, start)) != std::string_view::npos;
         start = found + separator.size())
        items.emplace_back(text.substr(start, found - start));
    items.emplace_back(text.substr(start));
    return items;
}
