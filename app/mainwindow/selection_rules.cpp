#include "app/mainwindow/selection_rules.h"

#include "app/engine/cart_entries.h"
#include "app/engine/url_levels.h"
#include "platform/net/case_fold.h"

#include <algorithm>

namespace {

std::string joinedEntries(const std::vector<std::string>& entries, std::string_view separator)
{
    std::string text;
    for (const std::string& entry : entries) {
        text += entry;
        text += separator;
    }
    return text;
}

} // namespace

CartEntries CartEntries::Parse(std::string_view sources, std::string_view destinations, std::string_view types)
{
    return {SplitEntries(sources, "|"), SplitEntries(destinations, "="), SplitEntries(types, "~")};
}

std::string CartEntries::sourcesText() const { return joinedEntries(sources, "|"); }
std::string CartEntries::destinationsText() const { return joinedEntries(destinations, "="); }
std::string CartEntries::typesText() const { return joinedEntries(types, "~"); }

template <class Dropped>
bool CartEntries::removeEntriesWhere(Dropped dropped)
{
    CartEntries kept;
    const std::size_t count = std::min({sources.size(), destinations.size(), types.size()});
    for (std::size_t i = 0; i < count; ++i) {
        if (dropped(i)) continue;
        kept.sources.push_back(sources[i]);
        kept.destinations.push_back(destinations[i]);
        kept.types.push_back(types[i]);
    }
    const bool removed = kept.sources.size() < count;
    *this = std::move(kept);
    return removed;
}

bool CartEntries::removeEntriesAt(std::string_view address)
{
    return removeEntriesWhere(
        [&](std::size_t i) { return net::EqualsIgnoringCase(destinations[i] + "/" + LastUrlPart(sources[i]), address); });
}

bool CartEntries::removeEntriesAtAndBelow(std::string_view address)
{
    if (!removeEntriesAt(address)) return false;
    removeEntriesWhere([&](std::size_t i) { return IsSameOrWithin(destinations[i], std::string(address)); });
    return true;
}

int ReplicationTypeForLevels(int srcLevel, int dstLevel)
{
    if (srcLevel == 2 && dstLevel == 2) return 1;
    if (srcLevel == 3 && dstLevel == 2) return 2;
    return 3;
}

std::vector<std::string> SelectedSourceUrls(const std::vector<std::string>& selectedRows, std::string_view levelUrl,
                                            std::string_view address)
{
    if (selectedRows.size() == 1) return {std::string(address)};
    std::vector<std::string> urls;
    for (const std::string& row : selectedRows) urls.push_back(std::string(levelUrl) + "/" + row);
    return urls;
}

std::string LastUrlPart(std::string_view url)
{
    const std::size_t slash = url.rfind('/');
    return std::string(slash == std::string_view::npos ? url : url.substr(slash + 1));
}

bool HoldsPair(const std::vector<std::string>& sources, const std::vector<std::string>& destinations,
               std::string_view source, std::string_view destination)
{
    for (std::size_t i = 0; i < sources.size() && i < destinations.size(); ++i)
        if (net::EqualsIgnoringCase(sources[i], source) && net::EqualsIgnoringCase(destinations[i], destination))
            return true;
    return false;
}

bool HoldsText(const std::vector<std::string>& entries, std::string_view text)
{
    return std::any_of(entries.begin(), entries.end(),
                       [&](const std::string& entry) { return net::EqualsIgnoringCase(entry, text); });
}

bool HoldsReplicationType(const std::vector<std::string>& types, std::initializer_list<int> codes)
{
    return std::any_of(types.begin(), types.end(), [&](const std::string& type) {
        return std::any_of(codes.begin(), codes.end(), [&](int code) { return IsReplicationType(type, code); });
    });
}

bool BreaksSourceList(std::string_view sourceUrl) { return sourceUrl.find('|') != std::string_view::npos; }

bool BreaksDestinationList(std::string_view destinationUrl) { return destinationUrl.find('=') != std::string_view::npos; }

std::string SourceSeparatorRefusal(std::string_view sourceUrl)
{
    return "'" + std::string(sourceUrl) + "' cannot be added. Tarvex cannot copy an item whose name or server name " +
           "contains \"|\".";
}

std::string DestinationSeparatorRefusal(std::string_view destinationUrl)
{
    return "Nothing can be added into '" + std::string(destinationUrl) +
           "'. Tarvex cannot copy into a folder whose name or server name contains \"=\".";
}
