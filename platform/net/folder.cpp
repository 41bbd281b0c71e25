#include "platform/net/folder.h"

#include "platform/net/case_fold.h"
#include "platform/sys/system_info.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace net {

namespace fs = std::filesystem;

namespace {

const char kInvalidNameText[] = "The filename, directory name, or volume label syntax is incorrect";

// The name as it can be shown in a message: control characters escaped.
std::string printable(std::string_view name)
{
    std::string text;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20) {
            static const char digits[] = "0123456789ABCDEF";
            text += "\\x";
            text += digits[byte >> 4];
            text += digits[byte & 0xF];
        } else {
            text += c;
        }
    }
    return text;
}

// Opens name in folder without following a link; a link is refused. (The
// kernel reports a link opened as a folder as "not a folder".)
int openNoFollow(const Folder& folder, const std::string& name, int flags, mode_t mode = 0)
{
    int descriptor = -1;
    do descriptor = ::openat(folder.descriptor(), name.c_str(), flags | O_NOFOLLOW | O_CLOEXEC, mode);
    while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0 && (errno == ELOOP || errno == ENOTDIR)) {
        const int error = errno;
        struct stat status {};
        if (::fstatat(folder.descriptor(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(status.st_mode))
            ThrowLinkRefused(folder.path() / name);
        errno = error;
    }
    return descriptor;
}

bool writeAll(int descriptor, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return false;
        bytes.remove_prefix(std::size_t(written));
    }
    return true;
}

std::string temporaryName(std::string_view name)
{
    static std::atomic<unsigned> counter{0};
    return "." + std::string(name.substr(0, 64)) + ".tmp-" + std::to_string(sys::ProcessId()) + "-" + std::to_string(counter++);
}

bool removeAt(int folder, const char* name)
{
    if (::unlinkat(folder, name, 0) == 0 || errno == ENOENT) return true;
    if (errno != EISDIR) return false;
    FileHandle inner(::openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!inner) return false;
    bool removed = true;
    if (DIR* stream = ::fdopendir(::dup(inner.get()))) {
        while (const dirent* entry = ::readdir(stream)) {
            const std::string_view entryName = entry->d_name;
            if (entryName != "." && entryName != "..") removed = removeAt(inner.get(), entry->d_name) && removed;
        }
        ::closedir(stream);
    } else {
        removed = false;
    }
    return ::unlinkat(folder, name, AT_REMOVEDIR) == 0 && removed;
}

} // namespace

FileHandle::FileHandle(FileHandle&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept
{
    std::swap(descriptor_, other.descriptor_);
    return *this;
}

FileHandle::~FileHandle()
{
    if (descriptor_ >= 0) ::close(descriptor_);
}

int FileHandle::release()
{
    return std::exchange(descriptor_, -1);
}

bool IsSafeName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".."
        && name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

void ThrowInvalidName(std::string_view name, std::string_view reason)
{
    std::string description = std::string(kInvalidNameText) + ": \"" + printable(name) + "\"";
    if (!reason.empty()) description += " (" + std::string(reason) + ")";
    throw com::ComError(com::HResultFromWin32(ERROR_INVALID_NAME), description);
}

void ThrowLinkRefused(const fs::path& path)
{
    ThrowInvalidName(path.string(), "a link, which the network does not follow");
}

void RequireStorableName(std::string_view name)
{
    if (!IsSafeName(name)) ThrowInvalidName(name);
    if (name.size() > kMaximumNameBytes)
        throw com::ComError(com::HResultFromWin32(ERROR_FILENAME_EXCED_RANGE),
                            "The filename or extension is too long: \"" + printable(name) + "\" takes "
                                + std::to_string(name.size()) + " bytes, the file system holds names of at most "
                                + std::to_string(kMaximumNameBytes));
}

com::HRESULT HResultFromErrno(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS: return com::E_ACCESSDENIED;
    case ENOSPC:
    case EDQUOT: return com::HResultFromWin32(ERROR_DISK_FULL);
    case ENAMETOOLONG: return com::HResultFromWin32(ERROR_FILENAME_EXCED_RANGE);
    case ENOMEM: return com::E_OUTOFMEMORY;
    default: return com::E_FAIL;
    }
}

void ThrowSystemError(const std::string& what, int error)
{
    throw com::ComError(HResultFromErrno(error), what + ": " + std::strerror(error));
}

Folder::Folder(FileHandle handle, fs::path path) : handle_(std::move(handle)), path_(std::move(path)) {}

std::optional<Folder> Folder::OpenPath(const fs::path& path)
{
    FileHandle handle(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!handle) {
        if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
        ThrowSystemError("Cannot open " + path.string(), errno);
    }
    return Folder(std::move(handle), path);
}

Folder Folder::CreatePath(const fs::path& path)
{
    std::error_code error;
    fs::create_directories(path, error);
    if (error) ThrowSystemError("Cannot create " + path.string(), error.value());
    std::optional<Folder> folder = OpenPath(path);
    if (!folder) ThrowSystemError("Cannot open " + path.string(), ENOENT);
    return std::move(*folder);
}

std::optional<std::string> Folder::find(std::string_view name) const
{
    if (!IsSafeName(name)) ThrowInvalidName(name);
    const std::string exact(name);
    struct stat status {};
    if (::fstatat(descriptor(), exact.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) return exact;
    return FindNameIgnoringCase(descriptor(), name);
}

Folder Folder::duplicate() const
{
    FileHandle handle(::fcntl(descriptor(), F_DUPFD_CLOEXEC, 0));
    if (!handle) ThrowSystemError("Cannot open " + path_.string(), errno);
    return Folder(std::move(handle), path_);
}

// The subfolder of exactly that name; nullopt, with errno set, when it cannot
// be opened.
std::optional<Folder> Folder::openChild(const std::string& storedName) const
{
    FileHandle handle(openNoFollow(*this, storedName, O_RDONLY | O_DIRECTORY));
    if (!handle) return std::nullopt;
    return Folder(std::move(handle), path_ / storedName);
}

std::optional<Folder> Folder::openFolder(const std::vector<std::string>& names) const
{
    std::optional<Folder> current;
    for (const std::string& name : names) {
        const Folder& parent = current ? *current : *this;
        const std::optional<std::string> stored = parent.find(name);
        if (!stored) return std::nullopt;
        std::optional<Folder> child = parent.openChild(*stored);
        if (!child) {
            if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
            ThrowSystemError("Cannot open " + (parent.path_ / *stored).string(), errno);
        }
        current = std::move(child);
    }
    if (!current) return duplicate();
    return current;
}

Folder Folder::createFolders(const std::vector<std::string>& names) const
{
    std::optional<Folder> current;
    for (const std::string& name : names) {
        RequireStorableName(name);
        const Folder& parent = current ? *current : *this;
        const std::string stored = parent.find(name).value_or(name);
        if (::mkdirat(parent.descriptor(), stored.c_str(), 0755) != 0 && errno != EEXIST)
            ThrowSystemError("Cannot create " + (parent.path_ / stored).string(), errno);
        std::optional<Folder> child = parent.openChild(stored);
        if (!child) ThrowSystemError("Cannot open " + (parent.path_ / stored).string(), errno);
        current = std::move(child);
    }
    if (!current) return duplicate();
    return std::move(*current);
}

std::optional<FileHandle> Folder::openFile(std::string_view name, int flags) const
{
    const std::optional<std::string> stored = find(name);
    if (!stored) return std::nullopt;
    FileHandle file(openNoFollow(*this, *stored, flags | O_NONBLOCK));
    if (!file) {
        if (errno == ENOENT) return std::nullopt;
        ThrowSystemError("Cannot open " + (path_ / *stored).string(), errno);
    }
    return file;
}

FileHandle Folder::openOrCreateFile(std::string_view name) const
{
    const std::string stored = find(name).value_or(std::string(name));
    FileHandle file(openNoFollow(*this, stored, O_RDWR | O_CREAT | O_NONBLOCK, 0644));
    if (!file) ThrowSystemError("Cannot open " + (path_ / stored).string(), errno);
    struct stat status {};
    if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode))
        ThrowInvalidName((path_ / stored).string(), "not a file");
    return file;
}

std::optional<FileHandle> Folder::openForReading(std::string_view name) const
{
    std::optional<FileHandle> file = openFile(name, O_RDONLY);
    if (!file) return std::nullopt;
    struct stat status {};
    if (::fstat(file->get(), &status) != 0) ThrowSystemError("Cannot read " + (path_ / std::string(name)).string(), errno);
    if (!S_ISREG(status.st_mode)) ThrowInvalidName((path_ / std::string(name)).string(), "not a file");
    return file;
}

std::optional<std::string> Folder::readFile(std::string_view name) const
{
    const std::optional<FileHandle> file = openForReading(name);
    if (!file) return std::nullopt;
    return ReadToEnd(file->get(), (path_ / std::string(name)).string());
}

void Folder::writeFile(std::string_view name, std::string_view content) const
{
    RequireStorableName(name);
    const std::string target = find(name).value_or(std::string(name));
    const std::string temporary = temporaryName(target);
    const fs::path shown = path_ / target;
    FileHandle file(openNoFollow(*this, temporary, O_WRONLY | O_CREAT | O_EXCL, 0644));
    if (!file) ThrowSystemError("Cannot create a temporary file for " + shown.string(), errno);
    int error = 0;
    if (!writeAll(file.get(), content) || ::fsync(file.get()) != 0 || ::close(file.release()) != 0
        || ::renameat(descriptor(), temporary.c_str(), descriptor(), target.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlinkat(descriptor(), temporary.c_str(), 0);
        ThrowSystemError("Cannot write " + shown.string(), error);
    }
    ::fsync(descriptor());
}

std::string ReadToEnd(int descriptor, const std::string& shown)
{
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) ThrowSystemError("Cannot read " + shown, errno);
        if (count == 0) return text;
        text.append(buffer, std::size_t(count));
    }
}

bool RemoveTreeAt(int folder, const std::string& name)
{
    return removeAt(folder, name.c_str());
}

} // namespace net
