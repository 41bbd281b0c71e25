#include "support/tool_process.h"

#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace testing_support {

std::filesystem::path ToolPath(const std::string& tool)
{
    const char* bin = std::getenv("TARVEX_BUILD_BIN");
    return std::filesystem::path(bin ? bin : ".") / tool;
}

pid_t StartTool(const std::string& tool, const std::vector<std::string>& arguments, const std::filesystem::path& output,
                const std::filesystem::path& errors)
{
    std::vector<std::string> words{ToolPath(tool).string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (!errors.empty()) posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t child = 0;
    const int failed = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : child;
}

int FinishTool(pid_t child)
{
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int RunTool(const std::string& tool, const std::vector<std::string>& arguments, const std::filesystem::path& output,
            const std::filesystem::path& errors)
{
    return FinishTool(StartTool(tool, arguments, output, errors));
}

} // namespace testing_support
