#pragma once
// The content of a document's or schema item's file, written and read in
// pieces together with its checksum (see item_file_layout.h): the checksum is
// taken while the content goes out and checked while it comes in, never in a
// second pass, so nothing here needs the whole content in memory.
//
// An object's content is a Content: bytes written into it, or a stretch of a
// stored item's content that stays in the item's file until it is read or
// copied. Copying a document from one item to another therefore moves its
// bytes once, piece by piece, from the source file into the new one.

#include "platform/net/folder.h"
#include "platform/store/item_file_layout.h"
#include "platform/sys/datetime.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace store {

// Content is read and written in pieces of at most this size.
inline constexpr std::size_t kContentPiece = std::size_t(1) << 20;

// Receives the pieces of a content in order.
using PieceVisitor = std::function<void(std::string_view piece)>;

// Writes a new item file into an open, empty file: the head, then the content
// piece by piece, then finish() puts in the header that names the content.
// Until then the file has no header and reads as damaged; a small item goes
// out in one write with its header. The file is not flushed: its writer makes
// it durable (see write_scope.h), and finish() only starts writing it back.
// Failures throw ComError; the caller removes the file.
class ItemFileWriter {
public:
    ItemFileWriter(int descriptor, std::string_view metadata);
    void append(std::string_view piece);
    // The file's time becomes the item's last-modified time, so that
    // listings show it without reading the file. Returns the finished layout.
    ItemFileLayout finish(sys::DateTime modified);
    // The file's start up to its content (header and metadata slots) as
    // written; complete once finished.
    const std::string& head() const { return head_; }

private:
    void writePending();

    int descriptor_;
    ItemFileLayout layout_;
    std::string head_;
    ContentChecksum checksum_;
    std::string pending_;     // the bytes from offset_ on, not written yet
    std::size_t offset_ = 0;
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

// The content of a stored item file, held open. The store never changes the
// content of a file in place (new content is a new file), so the file gives
// the content as it was when opened for as long as it is held.
class StoredContent {
public:
    // first: the content's first bytes, read with the file's head; when they
    // are the whole content they are checked here, so that a small damaged
    // item fails where it is opened. url names the item in errors.
    StoredContent(net::FileHandle file, const ItemFileLayout& layout, std::string first, std::string url);
    StoredContent(const StoredContent&) = delete;
    StoredContent& operator=(const StoredContent&) = delete;

    std::size_t size() const { return layout_.contentLength; }
    const ItemFileLayout& layout() const { return layout_; }
    int descriptor() const { return file_.get(); }
    // The file's start up to its content (header and metadata slots) as this
    // process last wrote it, when it wrote the file and holds it open for
    // writing; empty otherwise. Its writers keep it up to date.
    const std::string& writtenHead() const { return writtenHead_; }
    void noteWrittenHead(std::string head) const { writtenHead_ = std::move(head); }
    // Whether status (of an open file) is this content's file.
    bool isFile(const struct stat& status) const;

    // Hands the bytes [offset, offset + count) to visit, piece by piece. No
    // byte of damaged content reaches visit unchecked: read whole from the
    // start, the content is checked on the way (the last piece is withheld
    // when the sum differs); read from elsewhere, it is checked whole first,
    // once. Damage throws errDamagedItem naming the item.
    void read(std::size_t offset, std::size_t count, const PieceVisitor& visit) const;

private:
    void readChecked(const PieceVisitor& visit) const;
    void readRange(std::size_t offset, std::size_t count, const PieceVisitor& visit) const;

    net::FileHandle file_;
    ItemFileLayout layout_;
    std::string first_;
    std::string url_;
    mutable std::optional<std::pair<dev_t, ino_t>> identity_; // read when first asked
    mutable std::string writtenHead_;
    mutable bool checked_ = false;
};

// The content a store object holds (see the top of this file). A copy is
// cheap for stored content: it shares the open file.
class Content {
public:
    Content() = default;
    explicit Content(std::string bytes) : memory_(std::move(bytes)) {}
    explicit Content(std::shared_ptr<const StoredContent> stored);

    std::size_t size() const;
    // The bytes [offset, offset + count), cut at the end, piece by piece.
    void read(std::size_t offset, std::size_t count, const PieceVisitor& visit) const;
    // The same bytes in one string.
    std::string bytes(std::size_t offset = 0, std::size_t count = std::string::npos) const;
    // Writes bytes at offset, over what is there and beyond the end. Stored
    // content is taken into memory first.
    void write(std::size_t offset, std::string_view bytes);
    // Puts the bytes [offset, offset + count) of source at `at`. Empty
    // content becomes a view of the source's stretch: no byte is copied
    // until the content is read or saved.
    void copy(const Content& source, std::size_t offset, std::size_t count, std::size_t at);

    // The stored content this is all of, unchanged; null otherwise.
    const StoredContent* wholeStoredContent() const;

private:
    std::string memory_;
    std::shared_ptr<const StoredContent> stored_; // when set, the stretch below
    std::size_t offset_ = 0;
    std::size_t length_ = 0;
};

} // namespace store
