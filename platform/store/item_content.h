#pragma once
// The content of a document's or schema item's file, written and read in
// pieces together with its checksum (see item_file_layout.h): the checksum is
// taken while the content goes out and checked while it comes in, never in a
// second pass, so nothing here needs the whole content in memory.

#include "platform/store/item_file_layout.h"
#include "platform/sys/datetime.h"

#include <cstddef>
#include <string_view>

namespace store {

// Writes a new item file into an open, empty file: the head, then the content
// piece by piece, then finish() puts in the header that names the content and
// flushes the file once. Until then the file has no header and reads as
// damaged. Failures throw ComError; the caller removes the file.
class ItemFileWriter {
public:
    ItemFileWriter(int descriptor, std::string_view metadata);
    void append(std::string_view piece);
    // The file's time becomes the item's last-modified time, so that
    // listings show it without reading the file.
    void finish(sys::DateTime modified);

private:
    int descriptor_;
    ItemFileLayout layout_;
    ContentChecksum checksum_;
    std::size_t offset_;
};

// Reads the content of an item file of that layout piece by piece, adding
// each piece to the content's checksum.
class ItemContentReader {
public:
    // start: the content's first bytes, when the caller read them already
    // (with the file's head); reading goes on after them.
    ItemContentReader(int descriptor, const ItemFileLayout& layout, std::string_view start = {});
    // Fills up to capacity bytes of buffer with the next piece and returns its
    // length; 0 once the content has been read. Throws DamagedItem when the
    // file ends before the content does, and with the last piece (or the
    // first call, for empty content) when the content does not match its
    // checksum.
    std::size_t read(char* buffer, std::size_t capacity);

private:
    int descriptor_;
    ItemFileLayout layout_;
    ContentChecksum checksum_;
};

} // namespace store
