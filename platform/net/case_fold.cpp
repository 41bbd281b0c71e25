#include "platform/net/case_fold.h"

#include <QString>

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace net {

namespace {

bool isAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char foldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string CaseFold(std::string_view text)
{
    if (isAscii(text)) {
        std::string folded(text);
        std::transform(folded.begin(), folded.end(), folded.begin(), foldAscii);
        return folded;
    }
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toCaseFolded().toStdString();
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (isAscii(a) && isAscii(b)) {
        return a.size() == b.size()
            && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return foldAscii(x) == foldAscii(y); });
    }
    return CaseFold(a) == CaseFold(b);
}

DIR* OpenFolderStream(int folder)
{
    // A stream of its own: a duplicated descriptor would share (and move) the
    // folder's reading position.
    const int own = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (own < 0) return nullptr;
    DIR* stream = ::fdopendir(own);
    if (!stream) ::close(own);
    return stream;
}

std::optional<std::string> FindNameIgnoringCase(int folder, std::string_view name)
{
    DIR* directory = OpenFolderStream(folder);
    if (!directory) return std::nullopt;
    const std::string wanted = CaseFold(name);
    const bool wantedIsAscii = isAscii(wanted);
    std::optional<std::string> best;
    while (const dirent* entry = ::readdir(directory)) {
        const std::string_view candidate(entry->d_name);
        const bool matches = isAscii(candidate)
            ? wantedIsAscii && candidate.size() == wanted.size()
                  && std::equal(candidate.begin(), candidate.end(), wanted.begin(),
                                [](char c, char w) { return foldAscii(c) == w; })
            : CaseFold(candidate) == wanted;
        if (matches && (!best || candidate < *best)) best = std::string(candidate);
    }
    ::closedir(directory);
    return best;
}

} // namespace net
