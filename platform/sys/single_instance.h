#pragma once
// Whether another copy of this program is already running.
//
// The running copy holds an exclusive flock() on a lock file in the user's
// runtime folder for as long as its process lives. The kernel drops the lock
// when the process ends, however it ends, so a crashed copy never blocks the
// next start.

#include <filesystem>

namespace sys {

// True when another process holds the lock. Otherwise this process takes it
// (at the first call) and keeps it until it ends; later calls return false.
// When the lock file cannot be opened at all the answer is false: a start is
// better than a refusal nobody can explain.
bool PreviousInstanceRunning();

// The per-user folder for the lock: $XDG_RUNTIME_DIR/tarvex when that is set,
// else /tmp/tarvex-<uid>, created with mode 0700 and refused when it is a
// link or belongs to someone else.
std::filesystem::path RuntimeFolder();

} // namespace sys
