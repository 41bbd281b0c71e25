#pragma once
// Runs one of the build's command-line tools (tarvex-net, regsvr) as a user
// would, in its own process.

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

namespace testing_support {

// The tool's path in the build's bin folder ($TARVEX_BUILD_BIN).
std::filesystem::path ToolPath(const std::string& tool);

// Starts the tool with arguments, its standard output going to output and
// its standard error to errors (when given); -1 when it cannot be started.
pid_t StartTool(const std::string& tool, const std::vector<std::string>& arguments, const std::filesystem::path& output,
                const std::filesystem::path& errors = {});
// Waits for a started tool: its exit code, or -1 when it did not exit.
int FinishTool(pid_t child);
// Both in one.
int RunTool(const std::string& tool, const std::vector<std::string>& arguments, const std::filesystem::path& output,
            const std::filesystem::path& errors = {});

} // namespace testing_support
