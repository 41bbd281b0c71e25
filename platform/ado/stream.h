#pragma once
// A stream of bytes with a position, as the data-access layer hands out for a
// document's content. Its type and character set are kept for callers that set
// them, but bytes are never converted: what is copied or read is exactly what
// was written, so binary content survives a stream declared as "ascii" text.
// A stream opened on a stored item's content reads it from the item's file
// piece by piece; copying it into another stream passes a view of those bytes
// on, so a document copied through streams is never held in memory.

#include "platform/store/item_content.h"

#include <memory>
#include <string>
#include <string_view>

namespace ado {

class Record;

inline constexpr int adTypeBinary = 1;
inline constexpr int adTypeText = 2;
inline constexpr int adModeRead = 1;
inline constexpr int adOpenStreamFromRecord = 4;
inline constexpr long adCopyAll = -1;

class Stream {
public:
    // A closed stream: every call but the setters and Open fails with
    // adErrObjectClosed.
    Stream();
    // A stream open on content that the caller shares: writes go into it at
    // once (a document's content stream).
    static Stream Over(std::shared_ptr<store::Content> content);

    int type() const { return type_; }
    void setType(int type) { type_ = type; }
    const std::string& charset() const { return charset_; }
    void setCharset(std::string charset) { charset_ = std::move(charset); }

    // An empty stream in memory.
    void Open();
    // The record's content, positioned at its start; writes go to a copy.
    void Open(const Record& source, int mode = adModeRead, int options = adOpenStreamFromRecord);
    bool isOpen() const { return buffer_ != nullptr; }
    void Close();

    long size() const;
    long position() const;
    void setPosition(long position);

    // Up to count bytes (all, for -1) from the position on; the position moves
    // past them.
    std::string Read(long count = adCopyAll);
    // Writes at the position, over what is there and beyond its end.
    void Write(std::string_view bytes);
    // Reads up to count bytes (the rest, for -1) and writes them into
    // destination at its position.
    void CopyTo(Stream& destination, long count = adCopyAll);
    // Writes reach the content at once; Flush only checks the stream is open.
    void Flush();

    // The content the stream is open on.
    const store::Content& content() const;

private:
    void requireOpen() const;
    std::size_t takenBy(long count) const;

    std::shared_ptr<store::Content> buffer_;
    std::size_t position_ = 0;
    int type_ = adTypeBinary;
    std::string charset_ = "Unicode";
};

} // namespace ado
