// Starts the real program as processes, each copy in a program folder of its
// own, all sharing one runtime folder (and so one single-instance lock).

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

class SingleInstanceProcessTest : public ::testing::Test {
protected:
    SingleInstanceProcessTest()
    {
        testing_support::EnsureQtApplication();
        std::filesystem::permissions(runtime_.path(), std::filesystem::perms::owner_all);
    }

    ~SingleInstanceProcessTest() override
    {
        for (QProcess* process : started_) {
            process->kill();
            process->waitForFinished(kTimeoutMilliseconds);
            delete process;
        }
    }

    QProcess& start(const ProgramCopy& copy)
    {
        auto* process = new QProcess;
        started_.push_back(process);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("TARVEX_MESSAGE_BOX", "stdout");
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime_.path().string()));
        process->setProcessEnvironment(environment);
        process->setWorkingDirectory(QString::fromStdString(runtime_.path().string()));
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

    TempFolder runtime_;
    std::vector<QProcess*> started_;
};

TEST_F(SingleInstanceProcessTest, ASecondStartIsRefusedAndTouchesNothingAndACrashedCopyDoesNotBlock)
{
    ProgramCopy first, second;
    QProcess& running = start(first);
    ASSERT_TRUE(waitUntilStarted(first, running)) << running.readAllStandardError().toStdString();
    const std::string database = ReadFile(first.database());
    const std::string log = ReadFile(first.log());

    // Another copy, and the same copy again: both refuse and end.
    for (const ProgramCopy* copy : {&second, &first}) {
        QProcess& refused = start(*copy);
        ASSERT_TRUE(refused.waitForFinished(kTimeoutMilliseconds));
        EXPECT_EQ(refused.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(refused.readAllStandardOutput().toStdString(), "MsgBox 48: Application is already opened.\n");
    }
    EXPECT_EQ(second.files(), (std::vector<std::filesystem::path>{"libtarvex_platform.so", "tarvex"}));
    EXPECT_EQ(ReadFile(first.database()), database);
    EXPECT_EQ(ReadFile(first.log()), log);

    // The running copy crashes: the next start goes ahead.
    kill(pid_t(running.processId()), SIGKILL);
    ASSERT_TRUE(running.waitForFinished(kTimeoutMilliseconds));
    QProcess& next = start(second);
    EXPECT_TRUE(waitUntilStarted(second, next)) << next.readAllStandardOutput().toStdString();
    EXPECT_EQ(next.state(), QProcess::Running);
}

} // namespace
