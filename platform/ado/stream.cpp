#include "platform/ado/stream.h"

#include "platform/ado/record.h"
#include "platform/ado/recordset.h"

#include <algorithm>

namespace ado {

Stream::Stream() = default;

Stream Stream::Over(std::shared_ptr<std::string> buffer)
{
    Stream stream;
    stream.buffer_ = std::move(buffer);
    return stream;
}

void Stream::requireOpen() const
{
    if (!buffer_) throw com::ComError(adErrObjectClosed, "Operation is not allowed when the object is closed.");
}

void Stream::Open()
{
    buffer_ = std::make_shared<std::string>();
    position_ = 0;
}

void Stream::Open(const Record& source, int, int)
{
    buffer_ = std::make_shared<std::string>(source.content());
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

std::string Stream::Read(long count)
{
    requireOpen();
    const std::size_t available = buffer_->size() - std::min(position_, buffer_->size());
    const std::size_t taken = count < 0 ? available : std::min(available, std::size_t(count));
    std::string bytes = buffer_->substr(position_, taken);
    position_ += taken;
    return bytes;
}

void Stream::Write(std::string_view bytes)
{
    requireOpen();
    if (buffer_->size() < position_ + bytes.size()) buffer_->resize(position_ + bytes.size());
    std::copy(bytes.begin(), bytes.end(), buffer_->begin() + std::ptrdiff_t(position_));
    position_ += bytes.size();
}

void Stream::CopyTo(Stream& destination, long count)
{
    destination.requireOpen();
    destination.Write(Read(count));
}

void Stream::Flush()
{
    requireOpen();
}

} // namespace ado
