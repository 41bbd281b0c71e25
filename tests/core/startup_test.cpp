#include "app/core/settings_database.h"
#include "app/core/splash.h"
#include "app/core/startup.h"
#include "core_fixture.h"
#include "platform/ui/do_events.h"
#include "platform/ui/form_instance.h"
#include "platform/ui/twips.h"

#include <QTest>

namespace {

using ui::FormInstance;

// What start-up shows last, in place of the program's main window (which the
// core does not know).
class MainWindowStandIn : public QWidget {};
using MainWindowInstance = FormInstance<MainWindowStandIn>;

void Main() { ::Main([] { MainWindowInstance::get().show(); }); }

class StartupTest : public CoreTest {
protected:
    ~StartupTest() override
    {
        FormInstance<frmSplash>::unload();
        MainWindowInstance::unload();
    }

    // The settings database exists and the log holds its whole header.
    bool logIsComplete() const
    {
        return std::filesystem::exists(SettingsDatabasePath()) && std::filesystem::exists(ErrorLogFile()) &&
               logLines().size() == 7;
    }
    static bool splashOnly() { return FormInstance<frmSplash>::isLoaded() && !MainWindowInstance::isLoaded(); }
};

TEST_F(StartupTest, AFirstStartCreatesDatabaseAndLogThenShowsTheMainWindowInPlaceOfTheSplash)
{
    bool filesReadyWhileSplashShown = false;
    ui::DoEventsHook hook([&](int) {
        filesReadyWhileSplashShown = filesReadyWhileSplashShown || (logIsComplete() && splashOnly());
    });
    Main();

    EXPECT_TRUE(filesReadyWhileSplashShown);
    ASSERT_TRUE(MainWindowInstance::isLoaded());
    EXPECT_TRUE(MainWindowInstance::get().isVisible());
    EXPECT_FALSE(FormInstance<frmSplash>::isLoaded());
    EXPECT_TRUE(messageBoxes_.shown().empty());
    EXPECT_EQ(logLines().size(), 7u); // the header alone: nothing failed
}

TEST_F(StartupTest, AClickOnTheSplashDuringTheWaitClosesItAfterTheWaitAndTheMainWindowStillComes)
{
    // The click reaches the program at its first turn after the busy wait.
    bool clicked = false;
    ui::DoEventsHook hook([&](int) {
        if (clicked || !logIsComplete() || !splashOnly()) return;
        clicked = true;
        QTest::mouseClick(FormInstance<frmSplash>::get().Frame1, Qt::LeftButton);
    });
    Main();

    EXPECT_TRUE(clicked);
    EXPECT_FALSE(FormInstance<frmSplash>::isLoaded());
    ASSERT_TRUE(MainWindowInstance::isLoaded());
    EXPECT_TRUE(MainWindowInstance::get().isVisible());
}

TEST_F(StartupTest, AProgramFolderWhereNothingCanBeWrittenDoesNotStopTheStart)
{
    testing_support::WriteFile(programFolder() / "blocked", "");
    sys::SetProgramFolderForTesting(programFolder() / "blocked" / "Tarvex");

    testing::internal::CaptureStderr();
    Main();
    const std::string errors = testing::internal::GetCapturedStderr();

    EXPECT_NE(errors.find("in CreateLogFolderandFile"), std::string::npos);
    ASSERT_TRUE(MainWindowInstance::isLoaded());
    EXPECT_TRUE(MainWindowInstance::get().isVisible());
    EXPECT_TRUE(messageBoxes_.shown().empty());
}

TEST_F(StartupTest, TheSplashShowsTitleAndVersionAndAClickAnywhereClosesIt)
{
    frmSplash& splash = FormInstance<frmSplash>::get();
    splash.show();
    EXPECT_EQ(splash.Label3->text(), "Tarvex for Sharepoint");
    EXPECT_EQ(splash.Label3->width(), ui::TwipsToPixels(5000));
    EXPECT_EQ(splash.Label1->text(), " Version 2.0.2");
    EXPECT_TRUE(splash.Label3->font().bold());
    EXPECT_EQ(splash.palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xC0));
    for (const char* name : {"Image1", "Frame1", "Label3", "Label1"})
        EXPECT_NE(splash.findChild<QWidget*>(name), nullptr) << name;

    // A click on the title text falls through to the frame.
    QWidget* under = splash.childAt(splash.Label3->mapTo(&splash, QPoint(5, 5)));
    EXPECT_EQ(under, splash.Frame1);
    QTest::mouseClick(splash.Frame1, Qt::LeftButton, {}, splash.Label3->mapTo(splash.Frame1, QPoint(5, 5)));
    EXPECT_TRUE(FormInstance<frmSplash>::isLoaded()); // handled at the next turn of the message loop
    ui::DoEvents();
    EXPECT_FALSE(FormInstance<frmSplash>::isLoaded());
}

} // namespace
