#include "platform/store/write_scope.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace store {

namespace {

thread_local WriteScope* currentScope = nullptr;

std::uint64_t nextSerial()
{
    static std::atomic<std::uint64_t> serial{0};
    return ++serial;
}

// A file's flush. Its name is flushed with it when the file is new: the
// store renames a new file into place before flushing it, and the file
// systems in use then write the new entry with the file.
int flush(int descriptor)
{
    int result = 0;
    do result = ::fsync(descriptor);
    while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

// A file removed since it was written needs no flush.
bool stillLinked(int descriptor)
{
    struct stat status {};
    return ::fstat(descriptor, &status) != 0 || status.st_nlink > 0;
}

[[noreturn]] void throwFlushFailure(int error)
{
    net::ThrowSystemError("Cannot write to the document store", error);
}

} // namespace

WriteScope::WriteScope() : outer_(currentScope), serial_(nextSerial())
{
    currentScope = this;
}

WriteScope::~WriteScope()
{
    for (const WrittenFile& written : written_)
        if (stillLinked(written.file.get())) flush(written.file.get());
    currentScope = outer_;
}

WriteScope* WriteScope::Current()
{
    return currentScope;
}

void WriteScope::keep(int descriptor)
{
    struct stat status {};
    net::FileHandle copy;
    if (::fstat(descriptor, &status) == 0) {
        const auto same = [&](const WrittenFile& written) {
            return written.device == status.st_dev && written.inode == status.st_ino;
        };
        if (std::any_of(written_.begin(), written_.end(), same)) return;
        copy = net::FileHandle(::fcntl(descriptor, F_DUPFD_CLOEXEC, 0));
    }
    if (!copy) {
        // Out of descriptors: the file is flushed now instead.
        if (const int error = flush(descriptor)) throwFlushFailure(error);
        return;
    }
    written_.push_back({std::move(copy), status.st_dev, status.st_ino});
}

void WriteScope::commit()
{
    std::optional<int> failure;
    for (const WrittenFile& written : written_) {
        if (!stillLinked(written.file.get())) continue;
        if (const int error = flush(written.file.get()); error && !failure) failure = error;
    }
    written_.clear();
    if (failure) throwFlushFailure(*failure);
}

void MakeDurable(int descriptor)
{
    if (WriteScope* scope = WriteScope::Current()) {
        scope->keep(descriptor);
        return;
    }
    if (const int error = flush(descriptor)) throwFlushFailure(error);
}

} // namespace store
