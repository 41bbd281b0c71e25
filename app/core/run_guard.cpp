#include "app/core/run_guard.h"

namespace {

struct ActiveRun {
    int depth = 0;
    std::string sourceAddress;
    std::string destinationAddress;
};

ActiveRun& activeRun()
{
    static ActiveRun run;
    return run;
}

} // namespace

RunGuard::RunGuard(std::string sourceAddress, std::string destinationAddress)
{
    ActiveRun& run = activeRun();
    if (run.depth++ == 0) {
        run.sourceAddress = std::move(sourceAddress);
        run.destinationAddress = std::move(destinationAddress);
    }
}

RunGuard::~RunGuard()
{
    ActiveRun& run = activeRun();
    if (--run.depth == 0) {
        run.sourceAddress.clear();
        run.destinationAddress.clear();
    }
}

bool RunGuard::active() { return activeRun().depth > 0; }
const std::string& RunGuard::sourceAddress() { return activeRun().sourceAddress; }
const std::string& RunGuard::destinationAddress() { return activeRun().destinationAddress; }
