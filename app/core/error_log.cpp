#include "app/core/error_log.h"

#include "app/core/error_catch.h"
#include "app/core/settings_connection.h"
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

// Runs one statement of a procedure of the log itself (the log cannot use the
// error trap, which writes through it): a failure is logged with the
// procedure's tag. False when the statement failed.
template <class Statement>
bool LoggedStep(const std::string& tag, Statement&& statement)
{
    const std::optional<CaughtError> error = CatchError(std::forward<Statement>(statement));
    if (error) WriteErrorLog(ErrorLogEntry(error->number, error->description, tag));
    return !error;
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
    LoggedStep("in CreateLogFolderandFile", [] {
        EnsureFolder(LogFolder());
        if (fileExists(ErrorLogFile())) return;
        CreateTextFile(ErrorLogFile());
        HeaderPass pass;
        WriteSystemConfig();
    });
}

void WriteSystemConfig()
{
    const std::filesystem::path logFile = ErrorLogFile();
    LoggedStep("in WriteSystemConfig", [&] {
        std::string osName;
        std::string servicePack;
        if (const std::optional<sys::OsVersion> version = sys::GetOsVersion()) {
            osName = OsNameForVersion(version->major, version->minor);
            servicePack = version->servicePack;
            WriteTextLines(logFile, SystemDetailsTitleLines());
        } else {
            WriteTextLines(logFile, OsVersionNotFoundLines());
        }

        std::string systemLanguage = sys::LanguageName(sys::SystemDefaultLanguageId());

        const std::filesystem::path clientFile = FindClientFile(WebFoldersFolder(sys::SystemDrive()));
        if (clientFile.empty()) AppendTextLines(logFile, ClientNotFoundLines(clientFile));

        std::string clientLanguage = sys::LanguageName(sys::FileVersionLanguageId(clientFile));

        gLanguageSPS = StripNulls(clientLanguage);
        storeSPSClientConfig(gLanguageSPS);
        AppendTextLines(logFile, {SystemDetailsDataRow(osName, StripNulls(servicePack), StripNulls(systemLanguage),
                                                       StripNulls(clientLanguage))});
    });
}

std::string GetSPSClientConfig()
{
    const std::string tag = "in GetSPSClientConfig";
    SettingsConnection connection;
    LoggedStep(tag, [&] { connection.open(); });
    if (!connection.isOpen()) return {};
    ado::Recordset records;
    LoggedStep(tag, [&] { records = connection.select("tblSPSClient"); });
    std::string language;
    LoggedStep(tag, [&] { language = records.field(0).toString(); });
    return language;
}

void storeSPSClientConfig(const std::string& language)
{
    const std::string tag = "in storeSPSClientConfig";
    SettingsConnection connection;
    LoggedStep(tag, [&] { connection.open(); });
    if (connection.isOpen()) LoggedStep(tag, [&] { connection.rewriteTable("tblSPSClient", {{{"LanguageSPS", language}}}); });
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
