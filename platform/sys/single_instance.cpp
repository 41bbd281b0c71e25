#include "platform/sys/single_instance.h"

#include "platform/sys/program_folder.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace sys {

namespace {

// The descriptor of the lock held by this process, -1 while none is held. It
// stays open for the life of the process; O_CLOEXEC keeps programs started
// from here (the browser) from inheriting, and so prolonging, the lock.
int heldLock = -1;

} // namespace

bool PreviousInstanceRunning()
{
    if (heldLock >= 0) return false;
    const int descriptor = open(ProgramFolder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
