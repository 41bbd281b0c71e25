#include "platform/net/data_files.h"

#include "platform/net/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace net {

namespace {

[[noreturn]] void failToRead(int error, const fs::path& file)
{
    throw com::ComError(HResultFromErrno(error), "Cannot read " + file.string() + ": " + std::strerror(error));
}

// Closes the descriptor when the read ends.
class OpenFile {
public:
    explicit OpenFile(int descriptor) : descriptor_(descriptor) {}
    ~OpenFile()
    {
        if (descriptor_ >= 0) ::close(descriptor_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int get() const { return descriptor_; }

private:
    int descriptor_;
};

} // namespace

std::string ReadDataFile(const fs::path& folder, std::string_view fileName)
{
    const fs::path file = ResolveInside(folder, {std::string(fileName)});
    const OpenFile in(::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    if (in.get() < 0) {
        if (errno == ENOENT) return {};
        failToRead(errno, file);
    }
    struct stat status {};
    if (::fstat(in.get(), &status) != 0) failToRead(errno, file);
    if (!S_ISREG(status.st_mode)) failToRead(EINVAL, file);

    std::string text;
    char buffer[8192];
    for (;;) {
        const ssize_t count = ::read(in.get(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) failToRead(errno, file);
        if (count == 0) return text;
        text.append(buffer, std::size_t(count));
    }
}

void WriteDataFile(const fs::path& folder, std::string_view fileName, std::string_view text)
{
    fs::create_directories(folder);
    WriteFileAtomically(ResolveInside(folder, {std::string(fileName)}), text);
}

IniDocument ReadIniFile(const fs::path& folder, std::string_view fileName)
{
    return IniDocument::Parse(ReadDataFile(folder, fileName));
}

void WriteIniFile(const fs::path& folder, std::string_view fileName, const IniDocument& ini)
{
    WriteDataFile(folder, fileName, ini.toText());
}

} // namespace net
