#include "app/core/error_log.h"

#include "app/core/error_trap.h"
#include "app/core/settings_database.h"
#include "app/core/shared_state.h"
#include "app/core/system_details.h"
#include "app/core/text_file.h"
#include "platform/sys/datetime.h"
#include "platform/sys/program_folder.h"
#include "platform/sys/system_info.h"

#include <cstdio>

namespace {

// Set while a new log's header is being written: an error logged from inside
// that pass must not start another header.
bool writingHeader = false;

class HeaderPass {
public:
    HeaderPass() { writingHeader = true; }
    ~HeaderPass() { writingHeader = false; }
};

bool fileExists(const std::filesystem::path& file)
{
    std::error_code error;
    return std::filesystem::exists(file, error);
}

void appendToLog(const std::string& line)
{
    EnsureFolder(LogFolder());
    const std::filesystem::path file = ErrorLogFile();
    if (!fileExists(file)) {
        CreateTextFile(file);
        if (!writingHeader) {
            HeaderPass pass;
            WriteSystemConfig();
        }
    }
    AppendTextLines(file, {line});
}

} // namespace

std::filesystem::path LogFolder() { return sys::ProgramFolder() / "Log"; }

std::filesystem::path ErrorLogFile() { return LogFolder() / "TarvexErrorLog.txt"; }

std::string ErrorLogEntry(com::HRESULT number, const std::string& description, const std::string& tag)
{
    return "No=" + std::to_string(number) + "-due to -" + description + tag;
}

void CreateLogFolderandFile()
{
    ErrorTrap trap("in CreateLogFolderandFile");
    trap.onAnyOther().log().leave();

    trap.step([] { EnsureFolder(LogFolder()); });
    if (trap.hasLeft() || fileExists(ErrorLogFile())) return;
    trap.step([] { CreateTextFile(ErrorLogFile()); });
    trap.step([] {
        HeaderPass pass;
        WriteSystemConfig();
    });
}

void WriteSystemConfig()
{
    ErrorTrap trap("in WriteSystemConfig");
    trap.onAnyOther().log().leave();
    const std::filesystem::path logFile = ErrorLogFile();

    std::string osName;
    std::string servicePack;
    trap.step([&] {
        const std::optional<sys::OsVersion> version = sys::GetOsVersion();
        if (!version) {
            WriteTextLines(logFile, OsVersionNotFoundLines());
            return;
        }
        osName = OsNameForVersion(version->major, version->minor);
        servicePack = version->servicePack;
        WriteTextLines(logFile, SystemDetailsTitleLines());
    });

    std::string systemLanguage = trap.value([] { return sys::LanguageName(sys::SystemDefaultLanguageId()); });

    const std::filesystem::path clientFile = trap.value([] { return FindClientFile(WebFoldersFolder(sys::SystemDrive())); });
    trap.step([&] {
        if (clientFile.empty()) AppendTextLines(logFile, ClientNotFoundLines(clientFile));
    });

    std::string clientLanguage = trap.value([&] { return sys::LanguageName(sys::FileVersionLanguageId(clientFile)); });

    trap.step([&] {
        gLanguageSPS = StripNulls(clientLanguage);
        storeSPSClientConfig(gLanguageSPS);
        AppendTextLines(logFile, {SystemDetailsDataRow(osName, StripNulls(servicePack), StripNulls(systemLanguage),
                                                       StripNulls(clientLanguage))});
    });
}

void WriteErrorLog(const std::string& message)
{
    const std::string line = sys::GeneralDateText(sys::Now()) + " -- " + message;
    try {
        appendToLog(line);
    } catch (const std::exception&) {
        // The log cannot be written (folder or file refused, disk full): the
        // line must not be lost silently, and logging must never end the
        // program.
        std::fprintf(stderr, "%s\n", line.c_str());
    }
}

std::string StripNulls(std::string& text)
{
    const std::size_t firstKept = text.find_first_not_of('*');
    text.erase(0, firstKept == std::string::npos ? text.size() : firstKept);
    if (const std::size_t nul = text.find('\0'); nul != std::string::npos) text.erase(nul);
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}
