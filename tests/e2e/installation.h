#pragma once
// The program as a user has it: a copy of the built program folder, a
// network root of its own with the demo network and the registered
// components, and a shell whose "open" only notes the document it was given.

#include "e2e/child_process.h"
#include "support/scoped_env.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace e2e {

class XServer;

class Installation {
public:
    // Copies the program, creates the demo network with a workspace in the
    // target server, and registers the components into that network.
    Installation();

    const std::filesystem::path& programFolder() const { return programFolder_; }
    const std::filesystem::path& networkRoot() const { return networkRoot_; }

    // The program's own network command, e.g. {"workspace", "SPSTARGET", "Sales"}.
    std::string network(const std::vector<std::string>& arguments) const;

    // Starts the program on the X server.
    std::unique_ptr<ChildProcess> start(const XServer& server) const;

    // The activity reports in the program's Log folder.
    std::vector<std::filesystem::path> reports() const;
    // The documents the program asked the shell to open, in order.
    std::vector<std::filesystem::path> openedDocuments() const;
    // The lines of the error log below its system-details header.
    std::vector<std::string> errorLogEntries() const;
    // The program's own output, for a failure message.
    std::string programOutput() const;

private:
    testing_support::TempFolder root_;
    std::filesystem::path programFolder_;
    std::filesystem::path networkRoot_;
    std::filesystem::path shellFolder_;
    testing_support::ScopedEnv networkVariable_;
};

} // namespace e2e
