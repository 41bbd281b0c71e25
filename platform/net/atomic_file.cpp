#include "platform/net/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <stdlib.h>
#include <unistd.h>

namespace net {

namespace {

constexpr std::uint32_t kErrorDiskFull = 112;

[[noreturn]] void throwSystemError(int error, const std::string& what, const std::filesystem::path& path)
{
    throw com::ComError(HResultFromErrno(error), what + " " + path.string() + ": " + std::strerror(error));
}

// Owns the temporary file until it has been renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::filesystem::path& target)
        : name_((target.parent_path() / ("." + target.filename().string() + ".tmp-XXXXXX")).string())
    {
        descriptor_ = mkstemp(name_.data());
        if (descriptor_ < 0) throwSystemError(errno, "Cannot create a temporary file for", target);
        ::fchmod(descriptor_, 0644); // mkstemp creates the file private to its owner
    }
    ~TemporaryFile()
    {
        if (descriptor_ >= 0) ::close(descriptor_);
        if (!renamed_) ::unlink(name_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    void write(std::string_view content)
    {
        while (!content.empty()) {
            const ssize_t written = ::write(descriptor_, content.data(), content.size());
            if (written < 0 && errno == EINTR) continue;
            if (written < 0) throwSystemError(errno, "Cannot write", name_);
            content.remove_prefix(static_cast<std::size_t>(written));
        }
        if (::fsync(descriptor_) != 0) throwSystemError(errno, "Cannot flush", name_);
        const int closed = ::close(descriptor_);
        descriptor_ = -1;
        if (closed != 0) throwSystemError(errno, "Cannot close", name_);
    }

    void renameTo(const std::filesystem::path& target)
    {
        if (::rename(name_.c_str(), target.c_str()) != 0) throwSystemError(errno, "Cannot replace", target);
        renamed_ = true;
    }

private:
    std::string name_;
    int descriptor_ = -1;
    bool renamed_ = false;
};

// Makes the rename itself durable.
void syncFolder(const std::filesystem::path& folder)
{
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (descriptor < 0) return;
    ::fsync(descriptor);
    ::close(descriptor);
}

} // namespace

com::HRESULT HResultFromErrno(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS: return com::E_ACCESSDENIED;
    case ENOSPC:
    case EDQUOT: return com::HResultFromWin32(kErrorDiskFull);
    case ENOMEM: return com::E_OUTOFMEMORY;
    default: return com::E_FAIL;
    }
}

void WriteFileAtomically(const std::filesystem::path& target, std::string_view content)
{
    const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    TemporaryFile temporary(folder / target.filename());
    temporary.write(content);
    temporary.renameTo(target);
    syncFolder(folder);
}

} // namespace net
