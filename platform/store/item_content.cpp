#include "platform/store/item_content.h"

#include "platform/store/errors.h"
#include "platform/store/write_scope.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace store {

namespace {

void writeAllAt(int descriptor, std::string_view bytes, std::size_t offset)
{
    while (!bytes.empty()) {
        const ssize_t written = ::pwrite(descriptor, bytes.data(), bytes.size(), off_t(offset));
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) net::ThrowSystemError("Cannot write to the document store", errno);
        bytes.remove_prefix(std::size_t(written));
        offset += std::size_t(written);
    }
}

std::size_t readAt(int descriptor, char* buffer, std::size_t count, std::size_t offset)
{
    ssize_t read = 0;
    do read = ::pread(descriptor, buffer, count, off_t(offset));
    while (read < 0 && errno == EINTR);
    if (read < 0) net::ThrowSystemError("Cannot read an item of the document store", errno);
    return std::size_t(read);
}

} // namespace

// ItemFileWriter

ItemFileWriter::ItemFileWriter(int descriptor, std::string_view metadata) : descriptor_(descriptor)
{
    ItemFileHead head = EncodeItemFileHead(metadata);
    layout_ = head.layout;
    head_ = head.bytes.substr(0, layout_.contentOffset());
    pending_ = std::move(head.bytes);
}

void ItemFileWriter::writePending()
{
    writeAllAt(descriptor_, pending_, offset_);
    offset_ += pending_.size();
    pending_.clear();
}

void ItemFileWriter::append(std::string_view piece)
{
    checksum_.add(piece);
    if (pending_.size() + piece.size() > kContentPiece) writePending();
    if (piece.size() >= kContentPiece) {
        writeAllAt(descriptor_, piece, offset_);
        offset_ += piece.size();
        return;
    }
    pending_ += piece;
}

ItemFileLayout ItemFileWriter::finish(sys::DateTime modified)
{
    const ItemFileLayout finished = Finished(layout_, checksum_);
    const std::string header = EncodeItemHeader(finished);
    head_.replace(0, header.size(), header);
    if (offset_ == 0) {
        pending_.replace(0, header.size(), header);
        writePending();
    } else {
        writePending();
        writeAllAt(descriptor_, header, 0);
    }
    const timespec times[2] = {{0, UTIME_OMIT}, {modified.seconds, 0}};
    if (::futimens(descriptor_, times) != 0) net::ThrowSystemError("Cannot write to the document store", errno);
    // The flush that makes the file durable comes later; outside a write scope
    // its writing starts now. Inside one the file is written again (check-in,
    // publishing) before the scope's flush, and starting early would write it
    // twice.
    if (!WriteScope::Current()) ::sync_file_range(descriptor_, 0, 0, SYNC_FILE_RANGE_WRITE);
    return finished;
}

// ItemContentReader

ItemContentReader::ItemContentReader(int descriptor, const ItemFileLayout& layout, std::string_view start)
    : descriptor_(descriptor), layout_(layout)
{
    checksum_.add(start.substr(0, layout_.contentLength));
}

std::size_t ItemContentReader::read(char* buffer, std::size_t capacity)
{
    const std::size_t wanted = std::min(capacity, layout_.contentLength - checksum_.length());
    std::size_t count = 0;
    if (wanted > 0) {
        count = readAt(descriptor_, buffer, wanted, layout_.contentOffset() + checksum_.length());
        if (count == 0) throw DamagedItem("content cut short");
        checksum_.add(std::string_view(buffer, count));
    }
    if (checksum_.length() == layout_.contentLength && layout_.contentChecksum
        && checksum_.value() != *layout_.contentChecksum)
        throw DamagedItem("its content does not match its checksum");
    return count;
}

// StoredContent

StoredContent::StoredContent(net::FileHandle file, const ItemFileLayout& layout, std::string first, std::string url)
    : file_(std::move(file)), layout_(layout), first_(std::move(first)), url_(std::move(url))
{
    first_.resize(std::min(first_.size(), layout_.contentLength));
    if (first_.size() == layout_.contentLength) {
        ItemContentReader(file_.get(), layout_, first_).read(nullptr, 0);
        checked_ = true;
    }
}

bool StoredContent::isFile(const struct stat& status) const
{
    if (!identity_) {
        struct stat own {};
        if (::fstat(file_.get(), &own) != 0) return false;
        identity_.emplace(own.st_dev, own.st_ino);
    }
    return status.st_dev == identity_->first && status.st_ino == identity_->second;
}

void StoredContent::read(std::size_t offset, std::size_t count, const PieceVisitor& visit) const
{
    try {
        if (!checked_ && offset == 0 && count >= size()) {
            readChecked(visit);
            return;
        }
        if (!checked_) readChecked([](std::string_view) {});
        readRange(offset, count, visit);
    } catch (const DamagedItem& damage) {
        throw DamagedItemError(url_, damage);
    }
}

void StoredContent::readChecked(const PieceVisitor& visit) const
{
    ItemContentReader reader(file_.get(), layout_, first_);
    if (!first_.empty()) visit(first_);
    std::vector<char> piece(std::min(kContentPiece, size() - first_.size()));
    std::size_t count = 0;
    do {
        count = reader.read(piece.data(), piece.size());
        if (count > 0) visit(std::string_view(piece.data(), count));
    } while (count > 0);
    checked_ = true;
}

void StoredContent::readRange(std::size_t offset, std::size_t count, const PieceVisitor& visit) const
{
    const std::size_t end = std::min(size(), offset + std::min(count, size()));
    if (offset < first_.size()) {
        const std::size_t inFirst = std::min(end, first_.size()) - offset;
        visit(std::string_view(first_).substr(offset, inFirst));
        offset += inFirst;
    }
    std::vector<char> piece(std::min(kContentPiece, end > offset ? end - offset : 0));
    while (offset < end) {
        const std::size_t read =
            readAt(file_.get(), piece.data(), std::min(piece.size(), end - offset), layout_.contentOffset() + offset);
        if (read == 0) throw DamagedItem("content cut short");
        visit(std::string_view(piece.data(), read));
        offset += read;
    }
}

// Content

Content::Content(std::shared_ptr<const StoredContent> stored)
    : stored_(std::move(stored)), length_(stored_ ? stored_->size() : 0)
{
}

std::size_t Content::size() const
{
    return stored_ ? length_ : memory_.size();
}

void Content::read(std::size_t offset, std::size_t count, const PieceVisitor& visit) const
{
    offset = std::min(offset, size());
    count = std::min(count, size() - offset);
    if (count == 0 && size() > 0) return;
    if (stored_) {
        stored_->read(offset_ + offset, count, visit);
        return;
    }
    for (std::size_t done = 0; done < count; done += kContentPiece)
        visit(std::string_view(memory_).substr(offset + done, std::min(kContentPiece, count - done)));
}

std::string Content::bytes(std::size_t offset, std::size_t count) const
{
    std::string bytes;
    read(offset, count, [&](std::string_view piece) { bytes += piece; });
    return bytes;
}

void Content::write(std::size_t offset, std::string_view bytes)
{
    if (stored_) {
        memory_ = this->bytes();
        stored_.reset();
    }
    if (memory_.size() < offset + bytes.size()) memory_.resize(offset + bytes.size());
    std::copy(bytes.begin(), bytes.end(), memory_.begin() + std::ptrdiff_t(offset));
}

void Content::copy(const Content& source, std::size_t offset, std::size_t count, std::size_t at)
{
    offset = std::min(offset, source.size());
    count = std::min(count, source.size() - offset);
    if (size() == 0 && at == 0 && source.stored_) {
        stored_ = source.stored_;
        offset_ = source.offset_ + offset;
        length_ = count;
        memory_.clear();
        return;
    }
    source.read(offset, count, [&](std::string_view piece) {
        write(at, piece);
        at += piece.size();
    });
}

const StoredContent* Content::wholeStoredContent() const
{
    return stored_ && offset_ == 0 && length_ == stored_->size() ? stored_.get() : nullptr;
}

} // namespace store
