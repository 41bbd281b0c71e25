#pragma once
// A record on a document-store item named by "http://" URL, opened to read
// the item's content through a Stream.

#include "platform/store/item_content.h"

#include <string>

namespace ado {

class Record {
public:
    Record() = default;

    // Opens the item named by source: a full "http://" URL, or a name relative
    // to the folder given by an activeConnection of the form "URL=<folder
    // URL>". The item must exist (createOption is not used to create one);
    // failures are the store's (errItemNotFound, errPermissionDenied, ...).
    void Open(const std::string& source, const std::string& activeConnection = {}, int mode = 0,
              int createOption = -1, int options = 0);
    bool isOpen() const { return open_; }
    void Close();

    // The URL of the opened item, as the record resolved it.
    const std::string& url() const { return url_; }
    // The item's content (empty for a folder), read from the item's file
    // when it is read or copied; adErrObjectClosed when closed.
    const store::Content& content() const;

private:
    bool open_ = false;
    std::string url_;
    store::Content content_;
};

} // namespace ado
