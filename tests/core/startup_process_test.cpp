// Starts the real program as processes, each copy in a program folder of its
// own: one running copy per folder, whatever session starts it, and an error
// in the start-up itself logged before the program ends.

#include "support/qt_application.h"
#include "support/scoped_env.h"
#include "support/temp_program_folder.h"

#include <gtest/gtest.h>

#include <QProcess>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <thread>

namespace {

using testing_support::ReadFile;
using testing_support::TempFolder;
using namespace std::chrono_literals;

constexpr int kTimeoutMilliseconds = 60000;

// A copy of the program (with the platform library beside it) in a folder of
// its own, which is then its program folder.
class ProgramCopy {
public:
    ProgramCopy()
    {
        const std::filesystem::path built = std::getenv("TARVEX_BUILD_BIN");
        for (const char* file : {"tarvex", "libtarvex_platform.so"})
            std::filesystem::copy_file(built / file, folder_.path() / file);
    }

    const std::filesystem::path& folder() const { return folder_.path(); }
    std::filesystem::path log() const { return folder() / "Log" / "TarvexErrorLog.txt"; }
    std::filesystem::path database() const { return folder() / "TarvexDB.mdb"; }

    std::vector<std::filesystem::path> files() const
    {
        std::vector<std::filesystem::path> found;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder()))
            found.push_back(entry.path().lexically_relative(folder()));
        std::sort(found.begin(), found.end());
        return found;
    }

private:
    TempFolder folder_;
};

// What the environment of a start differs in.
struct Session {
    std::optional<std::string> runtimeFolder; // XDG_RUNTIME_DIR; nullopt: unset
    std::optional<std::string> fault;         // TARVEX_TEST_FAULT
};

class StartupProcessTest : public ::testing::Test {
protected:
    StartupProcessTest() { testing_support::EnsureQtApplication(); }

    ~StartupProcessTest() override
    {
        for (QProcess* process : started_) {
            process->kill();
            process->waitForFinished(kTimeoutMilliseconds);
            delete process;
        }
    }

    QProcess& start(const ProgramCopy& copy, const Session& session = {})
    {
        auto* process = new QProcess;
        started_.push_back(process);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("TARVEX_MESSAGE_BOX", "stdout");
        environment.remove("XDG_RUNTIME_DIR");
        environment.remove("TARVEX_TEST_FAULT");
        if (session.runtimeFolder) environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(*session.runtimeFolder));
        if (session.fault) environment.insert("TARVEX_TEST_FAULT", QString::fromStdString(*session.fault));
        process->setProcessEnvironment(environment);
        process->setWorkingDirectory(QString::fromStdString(workingFolder_.path().string()));
        process->start(QString::fromStdString((copy.folder() / "tarvex").string()), {});
        process->waitForStarted(kTimeoutMilliseconds);
        return *process;
    }

    // Waits until the copy has its database and the whole header of its log.
    static bool waitUntilStarted(const ProgramCopy& copy, const QProcess& process)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kTimeoutMilliseconds);
        while (std::chrono::steady_clock::now() < deadline && process.state() == QProcess::Running) {
            if (std::filesystem::exists(copy.database()) && testing_support::ReadCrLfLines(copy.log()).size() == 7)
                return true;
            std::this_thread::sleep_for(20ms);
        }
        return false;
    }

    TempFolder workingFolder_;
    std::vector<QProcess*> started_;
};

TEST_F(StartupProcessTest, ASecondStartInTheSameFolderIsRefusedFromAnySessionAndACrashedCopyDoesNotBlock)
{
    TempFolder firstSession, secondSession;
    ProgramCopy first, other;
    QProcess& running = start(first, {firstSession.path().string(), std::nullopt});
    ASSERT_TRUE(waitUntilStarted(first, running)) << running.readAllStandardError().toStdString();
    const std::vector<std::filesystem::path> files = first.files();
    const std::string database = ReadFile(first.database());
    const std::string log = ReadFile(first.log());

    // Another session's runtime folder, and none at all (sudo, cron): refused.
    for (const Session& session : {Session{secondSession.path().string(), std::nullopt}, Session{}}) {
        QProcess& refused = start(first, session);
        ASSERT_TRUE(refused.waitForFinished(kTimeoutMilliseconds));
        EXPECT_EQ(refused.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(refused.readAllStandardOutput().toStdString(), "MsgBox 48: Application is already opened.\n");
    }
    EXPECT_EQ(first.files(), files);
    EXPECT_EQ(ReadFile(first.database()), database);
    EXPECT_EQ(ReadFile(first.log()), log);

    // A copy in another folder shares nothing with the first and starts.
    QProcess& beside = start(other, {firstSession.path().string(), std::nullopt});
    EXPECT_TRUE(waitUntilStarted(other, beside)) << beside.readAllStandardOutput().toStdString();

    // The running copy crashes: the next start in its folder goes ahead.
    kill(pid_t(running.processId()), SIGKILL);
    ASSERT_TRUE(running.waitForFinished(kTimeoutMilliseconds));
    QProcess& next = start(first);
    EXPECT_TRUE(waitUntilStarted(first, next)) << next.readAllStandardOutput().toStdString();
    EXPECT_EQ(next.state(), QProcess::Running);
}

TEST_F(StartupProcessTest, AnErrorInMainIsLoggedThenShownAndEndsTheProgram)
{
    const std::string entry = " -- No=5-due to -Invalid procedure call or argument in Main";
    // The steps of Main's trap: 1 the splash, 2 the turn after it, 3 the busy
    // wait, 4 the turn after it, 5 the main window.
    for (const int step : {2, 4, 5}) {
        SCOPED_TRACE(step);
        ProgramCopy copy;
        QProcess& failing = start(copy, {std::nullopt, " in Main#" + std::to_string(step)});
        ASSERT_TRUE(failing.waitForFinished(kTimeoutMilliseconds)) << "the program ends";
        EXPECT_EQ(failing.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(failing.readAllStandardOutput().toStdString(), "MsgBox 48: System is not configured properly.\n");

        const std::vector<std::string> lines = testing_support::ReadCrLfLines(copy.log());
        ASSERT_FALSE(lines.empty());
        EXPECT_TRUE(lines.back().ends_with(entry)) << lines.back();
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) { return line.ends_with(entry); }), 1);
        if (step > 2) {
            EXPECT_EQ(lines.size(), 8u) << "the header, then the entry";
        }
    }
}

} // namespace
