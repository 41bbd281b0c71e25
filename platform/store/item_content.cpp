#include "platform/store/item_content.h"

#include "platform/net/folder.h"
#include "platform/store/errors.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

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

} // namespace

ItemFileWriter::ItemFileWriter(int descriptor, std::string_view metadata) : descriptor_(descriptor)
{
    const ItemFileHead head = EncodeItemFileHead(metadata);
    layout_ = head.layout;
    writeAllAt(descriptor_, head.bytes, 0);
    offset_ = head.bytes.size();
}

void ItemFileWriter::append(std::string_view piece)
{
    writeAllAt(descriptor_, piece, offset_);
    checksum_.add(piece);
    offset_ += piece.size();
}

void ItemFileWriter::finish(sys::DateTime modified)
{
    writeAllAt(descriptor_, EncodeItemHeader(Finished(layout_, checksum_)), 0);
    const timespec times[2] = {{0, UTIME_OMIT}, {modified.seconds, 0}};
    if (::futimens(descriptor_, times) != 0 || ::fdatasync(descriptor_) != 0)
        net::ThrowSystemError("Cannot write to the document store", errno);
}

ItemContentReader::ItemContentReader(int descriptor, const ItemFileLayout& layout, std::string_view start)
    : descriptor_(descriptor), layout_(layout)
{
    checksum_.add(start.substr(0, layout_.contentLength));
}

std::size_t ItemContentReader::read(char* buffer, std::size_t capacity)
{
    const std::size_t wanted = std::min(capacity, layout_.contentLength - checksum_.length());
    ssize_t count = 0;
    if (wanted > 0) {
        do count = ::pread(descriptor_, buffer, wanted, off_t(layout_.contentOffset() + checksum_.length()));
        while (count < 0 && errno == EINTR);
        if (count < 0) net::ThrowSystemError("Cannot read an item of the document store", errno);
        if (count == 0) throw DamagedItem("content cut short");
        checksum_.add(std::string_view(buffer, std::size_t(count)));
    }
    if (checksum_.length() == layout_.contentLength && layout_.contentChecksum
        && checksum_.value() != *layout_.contentChecksum)
        throw DamagedItem("its content does not match its checksum");
    return std::size_t(count);
}

} // namespace store
