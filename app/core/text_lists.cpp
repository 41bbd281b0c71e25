#include "app/core/text_lists.h"

std::vector<std::string> SplitText(std::string_view text, std::string_view separator)
{
    std::vector<std::string> pieces;
    if (text.empty()) return pieces;
    if (separator.empty()) return {std::string(text)};
    std::size_t start = 0;
    for (std::size_t found; (found = text.find(separator, start)) != std::string_view::npos;
         start = found + separator.size())
        pieces.emplace_back(text.substr(start, found - start));
    pieces.emplace_back(text.substr(start));
    return pieces;
}
