#include "platform/ado/stream.h"

#include "platform/ado/record.h"
#include "platform/ado/recordset.h"

#include <algorithm>

namespace ado {

Stream::Stream() = default;

Stream Stream::Over(std::shared_ptr<store::Content> content)
{
    Stream stream;
    stream.buffer_ = std::move(content);
    return stream;
}

void Stream::requireOpen() const
{
    if (!buffer_) throw com::ComError(adErrObjectClosed, "Operation is not allowed when the object is closed.");
}

void Stream::Open()
{
    buffer_ = std::make_shared<store::Content>();
    position_ = 0;
}

void Stream::Open(const Record& source, int, int)
{
    buffer_ = std::make_shared<store::Content>(source.content());
    position_ = 0;
}

void Stream::Close()
{
    buffer_.reset();
    position_ = 0;
}

long Stream::size() const
{
    requireOpen();
    return long(buffer_->size());
}

long Stream::position() const
{
    requireOpen();
    return long(position_);
}

void Stream::setPosition(long position)
{
    requireOpen();
    position_ = std::size_t(std::clamp<long>(position, 0, long(buffer_->size())));
}

// The number of bytes from the position on that a read or copy of count
// takes (the rest, for -1).
std::size_t Stream::takenBy(long count) const
{
    const std::size_t available = buffer_->size() - std::min(position_, buffer_->size());
    return count < 0 ? available : std::min(available, std::size_t(count));
}

std::string Stream::Read(long count)
{
    requireOpen();
    const std::size_t taken = takenBy(count);
    std::string bytes = buffer_->bytes(position_, taken);
    position_ += taken;
    return bytes;
}

void Stream::Write(std::string_view bytes)
{
    requireOpen();
    buffer_->write(position_, bytes);
    position_ += bytes.size();
}

void Stream::CopyTo(Stream& destination, long count)
{
    requireOpen();
    destination.requireOpen();
    const std::size_t taken = takenBy(count);
    destination.buffer_->copy(*buffer_, position_, taken, destination.position_);
    destination.position_ += taken;
    position_ += taken;
}

void Stream::Flush()
{
    requireOpen();
}

const store::Content& Stream::content() const
{
    requireOpen();
    return *buffer_;
}

} // namespace ado
