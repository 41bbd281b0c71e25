#include "components/netperm/directory_listing.h"

#include "components/netperm/net_error.h"
#include "platform/net/shares.h"

#include <cstdio>

namespace netperm {

namespace {

constexpr int kNoon = 12;

bool isListed(const net::FolderEntry& entry, ListingKind kind)
{
    switch (kind) {
    case ListingKind::Names: return true;
    case ListingKind::FolderDetails: return entry.folder;
    case ListingKind::FileDetails: return !entry.folder;
    }
    return false;
}

std::tm localTime(std::time_t time)
{
    std::tm local{};
    localtime_r(&time, &local);
    return local;
}

} // namespace

std::string FileElementText(const std::string& name, std::uint64_t size, const std::tm& lastWrite)
{
    const bool afternoon = lastWrite.tm_hour > kNoon;
    char details[96];
    std::snprintf(details, sizeof details, "|%llu|%02d/%02d/%d |%d:%02d %s", static_cast<unsigned long long>(size),
                  lastWrite.tm_mday, lastWrite.tm_mon + 1, lastWrite.tm_year + 1900,
                  afternoon ? lastWrite.tm_hour - kNoon : lastWrite.tm_hour, lastWrite.tm_min, afternoon ? "PM" : "AM");
    return name + details;
}

std::vector<std::string> ListShareFolder(const std::string& sharePath, ListingKind kind)
{
    std::vector<std::string> elements;
    for (const net::FolderEntry& entry : NetCall([&] { return net::ListFolder(sharePath); })) {
        if (!isListed(entry, kind)) continue;
        elements.push_back(kind == ListingKind::Names ? entry.name
                                                      : FileElementText(entry.name, entry.size, localTime(entry.lastWrite)));
    }
    return elements;
}

} // namespace netperm
