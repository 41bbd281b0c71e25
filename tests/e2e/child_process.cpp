#include "e2e/child_process.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace e2e {

namespace {

using Clock = std::chrono::steady_clock;

// A command line or environment as the exec call takes it; built before the
// fork, since the child may only make async-signal-safe calls.
class CStrings {
public:
    explicit CStrings(std::vector<std::string> strings) : strings_(std::move(strings))
    {
        for (std::string& text : strings_) pointers_.push_back(text.data());
        pointers_.push_back(nullptr);
    }
    char** get() { return pointers_.data(); }

private:
    std::vector<std::string> strings_;
    std::vector<char*> pointers_;
};

std::vector<std::string> EnvironmentStrings(const Environment& environment)
{
    std::vector<std::string> strings;
    for (const auto& [name, value] : environment) strings.push_back(name + "=" + value);
    return strings;
}

int OpenForWriting(const std::optional<std::filesystem::path>& file)
{
    const int descriptor = file ? open(file->c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644)
                                : open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (descriptor < 0) throw std::runtime_error("cannot open " + (file ? file->string() : "/dev/null"));
    return descriptor;
}

// Starts the command with the given descriptors as its standard output and
// error output. The child asks to be killed when the test program dies, so
// a crashed or killed test leaves nothing running.
pid_t Spawn(const std::vector<std::string>& command, const Environment& environment, int output, int errors)
{
    CStrings arguments(command);
    CStrings variables(EnvironmentStrings(environment));
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("cannot start " + command.front());
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(127);
        const int input = open("/dev/null", O_RDONLY);
        dup2(input, STDIN_FILENO);
        dup2(output, STDOUT_FILENO);
        dup2(errors, STDERR_FILENO);
        execvpe(arguments.get()[0], arguments.get(), variables.get());
        _exit(127);
    }
    return pid;
}

std::optional<int> ReapWithin(pid_t pid, std::chrono::milliseconds wait)
{
    const auto deadline = Clock::now() + wait;
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        if (done < 0 && errno != EINTR) return -1;
        if (Clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

std::string Describe(const std::vector<std::string>& command)
{
    std::string text;
    for (const std::string& word : command) text += (text.empty() ? "" : " ") + word;
    return text;
}

} // namespace

Environment EnvironmentWith(const Environment& changes)
{
    Environment environment;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        const std::size_t equals = text.find('=');
        if (equals != std::string::npos) environment[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const auto& [name, value] : changes) {
        if (value.empty()) environment.erase(name);
        else environment[name] = value;
    }
    return environment;
}

ChildProcess::ChildProcess(const std::vector<std::string>& command, const Environment& environment,
                           const std::optional<std::filesystem::path>& output,
                           const std::optional<std::filesystem::path>& errors)
{
    const int out = OpenForWriting(output);
    const int err = OpenForWriting(errors);
    try {
        pid_ = Spawn(command, environment, out, err);
    } catch (...) {
        close(out);
        close(err);
        throw;
    }
    close(out);
    close(err);
}

ChildProcess::~ChildProcess() { kill(); }

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds wait)
{
    if (!exitCode_) exitCode_ = ReapWithin(pid_, wait);
    return exitCode_;
}

void ChildProcess::kill()
{
    if (exitCode_) return;
    ::kill(pid_, SIGTERM);
    if (waitForExit(std::chrono::seconds(5))) return;
    ::kill(pid_, SIGKILL);
    waitForExit(std::chrono::seconds(5));
}

CommandResult RunCommand(const std::vector<std::string>& command, const Environment& environment,
                         std::chrono::milliseconds wait)
{
    int pipe[2];
    if (pipe2(pipe, O_CLOEXEC) != 0) throw std::runtime_error("cannot make a pipe");
    const int errors = OpenForWriting(std::nullopt);
    pid_t pid = -1;
    try {
        pid = Spawn(command, environment, pipe[1], errors);
    } catch (...) {
        close(pipe[0]);
        close(pipe[1]);
        close(errors);
        throw;
    }
    close(pipe[1]);
    close(errors);

    CommandResult result;
    const auto deadline = Clock::now() + wait;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) break;
        pollfd readable{pipe[0], POLLIN, 0};
        if (poll(&readable, 1, int(left.count())) <= 0) continue;
        char buffer[65536];
        const ssize_t got = read(pipe[0], buffer, sizeof buffer);
        if (got <= 0) break;
        result.output.append(buffer, std::size_t(got));
    }
    close(pipe[0]);

    const auto left = std::max(std::chrono::milliseconds(0),
                               std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()));
    if (std::optional<int> code = ReapWithin(pid, left)) {
        result.exitCode = *code;
    } else {
        ::kill(pid, SIGKILL);
        ReapWithin(pid, std::chrono::seconds(5));
        result.exitCode = -1;
        result.output += "\n(" + Describe(command) + " did not end within " + std::to_string(wait.count()) + " ms)";
    }
    return result;
}

std::string RunChecked(const std::vector<std::string>& command, const Environment& environment,
                       std::chrono::milliseconds wait)
{
    CommandResult result = RunCommand(command, environment, wait);
    if (result.exitCode != 0)
        throw std::runtime_error(Describe(command) + " failed (" + std::to_string(result.exitCode) + "): " + result.output);
    return result.output;
}

} // namespace e2e
