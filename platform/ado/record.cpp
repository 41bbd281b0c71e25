#include "platform/ado/record.h"

#include "platform/ado/recordset.h"
#include "platform/ado/stream.h"
#include "platform/net/case_fold.h"
#include "platform/store/sps.h"

namespace ado {

namespace {

constexpr std::string_view kUrlPrefix = "URL=";

bool isUrl(std::string_view text)
{
    return text.size() >= 7 && net::EqualsIgnoringCase(text.substr(0, 7), "http://");
}

// The item's URL: source itself when it is one, else source below the folder
// that the connection string names.
std::string itemUrl(const std::string& source, const std::string& activeConnection)
{
    if (isUrl(source) || activeConnection.empty()) return source;
    std::string_view folder = activeConnection;
    if (folder.size() >= kUrlPrefix.size() && net::EqualsIgnoringCase(folder.substr(0, kUrlPrefix.size()), kUrlPrefix))
        folder.remove_prefix(kUrlPrefix.size());
    std::string url(folder);
    if (!url.ends_with('/')) url += '/';
    return url + source;
}

} // namespace

void Record::Open(const std::string& source, const std::string& activeConnection, int, int, int)
{
    const std::string url = itemUrl(source, activeConnection);
    store::SpsDocument item;
    item.DataSource().Open(url);
    content_ = item.contentStream().content();
    url_ = url;
    open_ = true;
}

void Record::Close()
{
    open_ = false;
    url_.clear();
    content_ = {};
}

const store::Content& Record::content() const
{
    if (!open_) throw com::ComError(adErrObjectClosed, "Operation is not allowed when the object is closed.");
    return content_;
}

} // namespace ado
