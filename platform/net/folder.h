#pragma once
// Files and folders below the network root, reached only through open
// folders: every name is looked up in the folder that holds it, one name at a
// time, and opened without following a link. Whatever links are planted under
// the root, nothing outside it is read, created or written, and the length of
// a path never limits how deep a folder can be. A link where a file or folder
// is expected is refused with ERROR_INVALID_NAME and a text naming its path.
//
// Names match without regard to case (an exact match wins) and keep their
// case. Paths are kept only to name things in messages.

#include "platform/com/hresult.h"
#include "platform/net/net_errors.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace net {

// Owns one open file descriptor.
class FileHandle {
public:
    explicit FileHandle(int descriptor = -1) : descriptor_(descriptor) {}
    FileHandle(FileHandle&& other) noexcept;
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle();

    int get() const { return descriptor_; }
    explicit operator bool() const { return descriptor_ >= 0; }
    int release();

private:
    int descriptor_;
};

// The longest single name the file system holds, in bytes.
inline constexpr std::size_t kMaximumNameBytes = 255;

class Folder {
public:
    // The folder at an absolute path, opened as the path names it (the
    // network root: its own path is the user's choice). nullopt when missing.
    static std::optional<Folder> OpenPath(const std::filesystem::path& path);
    // The same, creating the folder and its parents when missing.
    static Folder CreatePath(const std::filesystem::path& path);

    Folder(Folder&&) noexcept = default;
    Folder& operator=(Folder&&) noexcept = default;

    const std::filesystem::path& path() const { return path_; }
    int descriptor() const { return handle_.get(); }

    // The stored name of the entry that matches name; nullopt when none does.
    // ERROR_INVALID_NAME for a name that is not a single safe name.
    std::optional<std::string> find(std::string_view name) const;

    // The folder at names below this one; nullopt when a name is missing or
    // is not a folder.
    std::optional<Folder> openFolder(const std::vector<std::string>& names) const;
    // The same, making the folders that are missing under the names given.
    // ERROR_FILENAME_EXCED_RANGE for a name longer than the file system holds.
    Folder createFolders(const std::vector<std::string>& names) const;

    // An existing entry opened with flags (O_NONBLOCK and O_CLOEXEC added);
    // nullopt when it is missing.
    std::optional<FileHandle> openFile(std::string_view name, int flags) const;
    // An existing file opened for reading; nullopt when it is missing. A
    // folder, pipe or device in its place is refused.
    std::optional<FileHandle> openForReading(std::string_view name) const;
    // Opens name for reading and writing, creating an empty file when missing.
    FileHandle openOrCreateFile(std::string_view name) const;

    // A whole small file (settings, hives), read as openForReading opens it.
    std::optional<std::string> readFile(std::string_view name) const;
    // Replaces (or creates) the file: a temporary file in this folder,
    // flushed, renamed over the name, then the folder flushed. Readers see the
    // old or the new file; a failure leaves the old one and no temporary.
    void writeFile(std::string_view name, std::string_view content) const;

private:
    Folder(FileHandle handle, std::filesystem::path path);
    std::optional<Folder> openChild(const std::string& storedName) const;
    Folder duplicate() const;

    FileHandle handle_;
    std::filesystem::path path_;
};

// A single path segment that may be used as a file name: not empty, not "." or
// "..", no '/', '\\' or NUL.
bool IsSafeName(std::string_view name);
// ERROR_INVALID_NAME naming the name, with the reason when given.
[[noreturn]] void ThrowInvalidName(std::string_view name, std::string_view reason = {});
// ERROR_INVALID_NAME for a link met where a file or folder was expected.
[[noreturn]] void ThrowLinkRefused(const std::filesystem::path& path);

// Everything from the open file's current position to its end; ComError
// naming shown when it cannot be read.
std::string ReadToEnd(int descriptor, const std::string& shown);

// Removes the entry of exactly that name in an open folder: a file or link, or
// a folder with everything in it, never following a link. False when
// something could not be removed.
bool RemoveTreeAt(int folder, const std::string& name);
// ERROR_INVALID_NAME for an unsafe name; ERROR_FILENAME_EXCED_RANGE for one
// longer than kMaximumNameBytes.
void RequireStorableName(std::string_view name);

// The error number for a failed system call: access and space problems as
// their Windows codes, a name too long as ERROR_FILENAME_EXCED_RANGE, anything
// else as E_FAIL.
com::HRESULT HResultFromErrno(int error);
// ComError(HResultFromErrno(error)) with "what: <system text>".
[[noreturn]] void ThrowSystemError(const std::string& what, int error);

} // namespace net
