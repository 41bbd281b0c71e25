#pragma once
// A replication or profile run is synchronous and yields to the message loop
// between its steps, so the window stays live while it works. A RunGuard marks
// a run as active for as long as it lives: commands that would disturb the run
// (starting another, changing the selection, the connections or the settings,
// closing the window) check RunGuard::active() and refuse. Guards nest; the
// outermost one keeps the address boxes as they were when the run started, and
// the engine reads them from there, so browsing during the run changes nothing
// of it.

#include <string>

class RunGuard {
public:
    // sourceAddress and destinationAddress: the texts of the source and the
    // destination address boxes now. A nested guard keeps the outer snapshot.
    RunGuard(std::string sourceAddress, std::string destinationAddress);
    ~RunGuard();
    RunGuard(const RunGuard&) = delete;
    RunGuard& operator=(const RunGuard&) = delete;

    static bool active();
    // The address boxes as the outermost active guard found them; empty when
    // no run is active.
    static const std::string& sourceAddress();
    static const std::string& destinationAddress();
};
