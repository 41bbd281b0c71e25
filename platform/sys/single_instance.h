#pragma once
// Whether another copy of this program is already running in the program
// folder.
//
// The running copy holds an exclusive flock() on the program folder itself
// for as long as its process lives, whoever started it and from whatever
// session: the copies of one folder share its settings database and its log.
// The kernel drops the lock when the process ends, however it ends, so a
// crashed copy never blocks the next start. Nothing is written to take it.

namespace sys {

// True when another process holds the lock of the program folder. Otherwise
// this process takes it (at the first call) and keeps it until it ends; later
// calls return false. When the folder cannot be opened at all the answer is
// false: a start is better than a refusal nobody can explain.
bool PreviousInstanceRunning();

} // namespace sys
