#include "e2e/installation.h"

#include "e2e/x_server.h"

#include <QUrl>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace e2e {

namespace {

std::filesystem::path BuiltProgramFolder()
{
    const char* built = std::getenv("TARVEX_BUILD_BIN");
    if (!built) throw std::runtime_error("TARVEX_BUILD_BIN names no built program folder");
    return built;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// Stands in for the desktop's opener, which the toolkit finds on the PATH:
// it notes what it was asked to open and opens nothing.
void WriteShellOpener(const std::filesystem::path& folder)
{
    std::filesystem::create_directories(folder);
    const std::filesystem::path opener = folder / "xdg-open";
    testing_support::WriteFile(opener, "#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" + (folder / "opened.txt").string() + "'\n");
    std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
}

} // namespace

Installation::Installation()
    : programFolder_(root_.path() / "Tarvex"),
      networkRoot_(root_.path() / "network"),
      shellFolder_(root_.path() / "shell"),
      networkVariable_("TARVEX_NETWORK", networkRoot_.string())
{
    std::filesystem::copy(BuiltProgramFolder(), programFolder_, std::filesystem::copy_options::recursive);
    WriteShellOpener(shellFolder_);
    network({"demo"});
    for (const char* component : {"Vornik.so", "Netperm.so"})
        RunChecked({(programFolder_ / "regsvr").string(), (programFolder_ / component).string()}, EnvironmentWith({}));
}

std::string Installation::network(const std::vector<std::string>& arguments) const
{
    std::vector<std::string> command{(programFolder_ / "tarvex-net").string()};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return RunChecked(command, EnvironmentWith({}));
}

std::unique_ptr<ChildProcess> Installation::start(const XServer& server) const
{
    const char* path = std::getenv("PATH");
    const Environment environment = server.environment({
        {"QT_QPA_PLATFORM", "xcb"},
        {"PATH", shellFolder_.string() + ":" + (path ? path : "/usr/bin:/bin")},
        {"TARVEX_MESSAGE_BOX", ""},
    });
    return std::make_unique<ChildProcess>(std::vector<std::string>{(programFolder_ / "tarvex").string()}, environment,
                                          root_.path() / "tarvex.out", root_.path() / "tarvex.err");
}

std::vector<std::filesystem::path> Installation::reports() const
{
    std::vector<std::filesystem::path> found;
    const std::filesystem::path log = programFolder_ / "Log";
    if (!std::filesystem::exists(log)) return found;
    for (const auto& entry : std::filesystem::directory_iterator(log)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("TarvexActivityLog_") && name.ends_with(".htm")) found.push_back(entry.path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<std::filesystem::path> Installation::openedDocuments() const
{
    std::vector<std::filesystem::path> documents;
    for (const std::string& line : Lines(testing_support::ReadFile(shellFolder_ / "opened.txt")))
        documents.push_back(QUrl(QString::fromStdString(line)).toLocalFile().toStdString());
    return documents;
}

std::vector<std::string> Installation::errorLogEntries() const
{
    std::vector<std::string> entries;
    for (const std::string& line : Lines(testing_support::ReadFile(programFolder_ / "Log" / "TarvexErrorLog.txt")))
        if (line.find(" -- ") != std::string::npos) entries.push_back(line);
    return entries;
}

std::string Installation::programOutput() const
{
    return testing_support::ReadFile(root_.path() / "tarvex.out") + testing_support::ReadFile(root_.path() / "tarvex.err");
}

} // namespace e2e
