#include "platform/sys/single_instance.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sys {

namespace {

constexpr const char* kLockFileName = "tarvex.lock";

// Creates the folder (mode 0700) when missing and accepts it only when it is a
// real folder owned by this user, so that nobody else can plant the lock.
bool ensurePrivateFolder(const std::filesystem::path& folder)
{
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat info {};
    if (lstat(folder.c_str(), &info) != 0) return false;
    return S_ISDIR(info.st_mode) && info.st_uid == geteuid();
}

// The descriptor of the lock held by this process, -1 while none is held. It
// stays open for the life of the process; O_CLOEXEC keeps programs started
// from here (the browser) from inheriting, and so prolonging, the lock.
int heldLock = -1;

} // namespace

std::filesystem::path RuntimeFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime) return std::filesystem::path(runtime) / "tarvex";
    return std::filesystem::path("/tmp") / ("tarvex-" + std::to_string(geteuid()));
}

bool PreviousInstanceRunning()
{
    if (heldLock >= 0) return false;
    const std::filesystem::path folder = RuntimeFolder();
    if (!ensurePrivateFolder(folder)) return false;

    const int descriptor = open((folder / kLockFileName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor < 0) return false;
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        const bool heldElsewhere = errno == EWOULDBLOCK;
        close(descriptor);
        return heldElsewhere;
    }
    heldLock = descriptor;
    return false;
}

} // namespace sys
