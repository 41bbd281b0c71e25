#pragma once
// Programs the road tests start: each one is killed by its process id when
// its owner goes, and dies with the test program if that is killed first.

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace e2e {

using Environment = std::map<std::string, std::string>;

// This process's environment with the given variables set; an empty value
// removes the variable.
Environment EnvironmentWith(const Environment& changes);

class ChildProcess {
public:
    // Starts the program; its standard output goes to `output` (or is
    // dropped), its error output to `errors` (or is dropped).
    ChildProcess(const std::vector<std::string>& command, const Environment& environment,
                 const std::optional<std::filesystem::path>& output = std::nullopt,
                 const std::optional<std::filesystem::path>& errors = std::nullopt);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }

    // The exit code once it has ended within the wait; nullopt while it runs.
    std::optional<int> waitForExit(std::chrono::milliseconds wait);

    // Ends it (SIGTERM, then SIGKILL) unless it has ended already.
    void kill();

private:
    pid_t pid_ = -1;
    std::optional<int> exitCode_;
};

struct CommandResult {
    int exitCode = -1;
    std::string output;
};

// Runs a command to its end, within the wait, and returns its standard
// output; a command that overruns is killed and reported as failed.
CommandResult RunCommand(const std::vector<std::string>& command, const Environment& environment,
                         std::chrono::milliseconds wait = std::chrono::seconds(30));

// The same for a command that must succeed: throws with its output if not.
std::string RunChecked(const std::vector<std::string>& command, const Environment& environment,
                       std::chrono::milliseconds wait = std::chrono::seconds(30));

} // namespace e2e
