#pragma once
// A test of the application core: a temporary program folder and system drive,
// fresh shared state, a fixed clock (12/7/2026 10:44:30 PM), a fixed system
// (Windows XP numbers, English locale), scripted message boxes and recorded
// shell opens.

#include "app/core/error_log.h"
#include "app/core/shared_state.h"
#include "platform/sys/datetime.h"
#include "platform/sys/program_folder.h"
#include "platform/sys/system_info.h"
#include "platform/ui/message_box.h"
#include "platform/ui/shell_open.h"
#include "support/qt_application.h"
#include "support/scoped_env.h"
#include "support/temp_program_folder.h"

#include <gtest/gtest.h>

class CoreTest : public ::testing::Test {
protected:
    CoreTest()
    {
        testing_support::EnsureQtApplication();
        ResetSharedStateForTesting();
        setClock(sys::MakeDateTime({2026, 12, 7, 22, 44, 30}));
        sys::SetOsVersionForTesting([] { return sys::OsVersion{5, 1, "Service Pack 2"}; });
    }

    ~CoreTest() override
    {
        sys::SetClockForTesting({});
        sys::SetOsVersionForTesting({});
        ResetSharedStateForTesting();
    }

    void setClock(sys::DateTime now)
    {
        now_ = now;
        sys::SetClockForTesting([this] { return now_; });
    }
    void advanceClock(int seconds) { now_.seconds += seconds; }

    const std::filesystem::path& programFolder() const { return folder_.path(); }
    std::vector<std::string> logLines() const { return testing_support::ReadCrLfLines(ErrorLogFile()); }
    std::string lastLogLine() const
    {
        const auto lines = logLines();
        return lines.empty() ? std::string() : lines.back();
    }

    testing_support::TempProgramFolder folder_;
    testing_support::ScopedEnv lcAll_{"LC_ALL", std::nullopt};
    testing_support::ScopedEnv lcMessages_{"LC_MESSAGES", std::nullopt};
    testing_support::ScopedEnv lang_{"LANG", "en_US.UTF-8"};
    ui::ScriptedMessageBoxes messageBoxes_;
    ui::RecordedShellOpens shellOpens_;
    sys::DateTime now_;
};

// The general date text of the fixed clock, as each log line begins.
inline const std::string kLogTime = "12/7/2026 10:44:30 PM -- ";
