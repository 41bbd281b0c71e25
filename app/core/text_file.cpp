#include "app/core/text_file.h"

#include "app/core/runtime_errors.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <sys/stat.h>

namespace {

void writeLines(const std::filesystem::path& file, const char* mode, const std::vector<std::string>& lines)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(std::fopen(file.c_str(), mode), &std::fclose);
    if (!stream) RaiseFileError(errno);
    for (const std::string& line : lines) {
        if (std::fwrite(line.data(), 1, line.size(), stream.get()) != line.size() ||
            std::fwrite("\r\n", 1, 2, stream.get()) != 2)
            RaiseFileError(errno);
    }
    if (std::fclose(stream.release()) != 0) RaiseFileError(errno);
}

} // namespace

void CreateTextFile(const std::filesystem::path& file) { writeLines(file, "wb", {}); }

void WriteTextLines(const std::filesystem::path& file, const std::vector<std::string>& lines)
{
    writeLines(file, "wb", lines);
}

void AppendTextLines(const std::filesystem::path& file, const std::vector<std::string>& lines)
{
    writeLines(file, "ab", lines);
}

void EnsureFolder(const std::filesystem::path& folder)
{
    if (mkdir(folder.c_str(), 0777) == 0) return;
    const int error = errno;
    struct stat info {};
    if (error == EEXIST && stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return;
    RaiseFileError(error == EEXIST ? ENOTDIR : error);
}
