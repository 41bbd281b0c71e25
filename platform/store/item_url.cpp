#include "platform/store/item_url.h"

#include "platform/net/case_fold.h"

namespace store {

namespace {

constexpr std::string_view kScheme = "http://";

std::vector<std::string> splitSegments(std::string_view text)
{
    std::vector<std::string> segments;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t slash = text.find('/', start);
        const std::size_t end = slash == std::string_view::npos ? text.size() : slash;
        segments.emplace_back(text.substr(start, end - start));
        if (slash == std::string_view::npos) break;
        start = slash + 1;
    }
    return segments;
}

bool namesContainer(const std::vector<std::string>& segments)
{
    return segments.size() >= 2 && net::EqualsIgnoringCase(segments[0], kContainerSegment1)
        && net::EqualsIgnoringCase(segments[1], kContainerSegment2);
}

} // namespace

std::optional<ItemUrl> ParseItemUrl(std::string_view url)
{
    if (url.size() <= kScheme.size() || !net::EqualsIgnoringCase(url.substr(0, kScheme.size()), kScheme))
        return std::nullopt;
    std::string_view rest = url.substr(kScheme.size());
    if (rest.ends_with('/')) rest.remove_suffix(1);

    std::vector<std::string> segments = splitSegments(rest);
    for (const std::string& segment : segments)
        if (segment.empty()) return std::nullopt;

    ItemUrl item;
    item.host = std::move(segments.front());
    segments.erase(segments.begin());
    if (namesContainer(segments)) segments.erase(segments.begin(), segments.begin() + 2);
    item.path = std::move(segments);
    return item;
}

std::string ItemUrlText(std::string_view host, const std::vector<std::string>& path)
{
    std::string text(kScheme);
    text += host;
    for (const std::string& segment : path) {
        text += '/';
        text += segment;
    }
    return text;
}

std::string ChildUrl(std::string_view url, std::string_view name)
{
    std::string child(url);
    if (!child.ends_with('/')) child += '/';
    child += name;
    return child;
}

} // namespace store
