#include "platform/ui/do_events.h"
#include "platform/ui/form_instance.h"
#include "platform/ui/message_box.h"
#include "platform/ui/mouse_pointer.h"
#include "platform/ui/shell_open.h"
#include "platform/ui/twips.h"
#include "support/qt_application.h"
#include "support/scoped_env.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {

class UiTest : public ::testing::Test {
protected:
    void SetUp() override { testing_support::EnsureQtApplication(); }
};

TEST_F(UiTest, ScriptedMessageBoxesRecordEveryBoxAndGiveTheQueuedAnswers)
{
    ui::ScriptedMessageBoxes boxes;
    boxes.queueAnswer(ui::vbYes);
    EXPECT_EQ(ui::MsgBox("Do you want to close the application?", ui::vbYesNo + ui::vbQuestion), ui::vbYes);
    // Nothing queued: questions answer No, notices OK.
    EXPECT_EQ(ui::MsgBox("Close again?", 36), ui::vbNo);
    EXPECT_EQ(ui::MsgBox("Application is already opened.", ui::vbExclamation), ui::vbOK);
    EXPECT_EQ(ui::MsgBox("source,dest count nomatch"), ui::vbOK);

    const std::vector<ui::ShownMessage> expected{{"Do you want to close the application?", 36},
                                                 {"Close again?", 36},
                                                 {"Application is already opened.", 48},
                                                 {"source,dest count nomatch", 0}};
    EXPECT_EQ(boxes.shown(), expected);
}

TEST_F(UiTest, ScriptedMessageBoxesNestAndRestoreTheOuterScript)
{
    ui::ScriptedMessageBoxes outer;
    {
        ui::ScriptedMessageBoxes inner;
        ui::MsgBox("inner", 64);
        EXPECT_EQ(inner.shown().size(), 1u);
    }
    ui::MsgBox("outer", 64);
    ASSERT_EQ(outer.shown().size(), 1u);
    EXPECT_EQ(outer.shown()[0].text, "outer");
}

TEST_F(UiTest, MessageBoxesGoToStandardOutputWhenTheProgramIsDrivenByATest)
{
    testing_support::ScopedEnv mode("TARVEX_MESSAGE_BOX", "stdout");
    testing::internal::CaptureStdout();
    const int answer = ui::MsgBox("Application is already opened.", ui::vbExclamation);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "MsgBox 48: Application is already opened.\n");
    EXPECT_EQ(answer, ui::vbOK);
}

TEST_F(UiTest, DoEventsRunsPendingEventsAndTellsTheHookEachTurn)
{
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    bool cancelled = false;
    std::vector<int> turns;
    ui::DoEventsHook hook([&](int turn) {
        turns.push_back(turn);
        if (turn == 3) cancelled = true;
    });

    ui::DoEvents();
    EXPECT_TRUE(timerRan);
    ui::DoEvents();
    EXPECT_FALSE(cancelled);
    ui::DoEvents();
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(turns, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(hook.turns(), 3);
}

TEST_F(UiTest, TheHourglassDoesNotStack)
{
    ui::SetMousePointer(ui::vbHourglass);
    ui::SetMousePointer(ui::vbHourglass);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    EXPECT_EQ(ui::MousePointer(), ui::vbHourglass);

    ui::SetMousePointer(ui::vbDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(ui::MousePointer(), ui::vbDefault);
}

class CountedForm : public QWidget {
public:
    CountedForm() { ++created; }
    static inline int created = 0;
};

TEST_F(UiTest, AFormIsCreatedOnFirstUseAndDestroyedAtOnceOnUnload)
{
    using Form = ui::FormInstance<CountedForm>;
    EXPECT_FALSE(Form::isLoaded());
    CountedForm& first = Form::get();
    first.show();
    EXPECT_EQ(&Form::get(), &first);
    EXPECT_EQ(CountedForm::created, 1);

    QPointer<CountedForm> watcher(&first);
    Form::unload();
    // Gone without any turn of the message loop.
    EXPECT_TRUE(watcher.isNull());
    EXPECT_FALSE(Form::isLoaded());
    Form::unload(); // unloading an unloaded form does nothing

    Form::get();
    EXPECT_EQ(CountedForm::created, 2);
    EXPECT_FALSE(Form::get().isVisible()); // a fresh instance is loaded hidden
    Form::unload();
}

TEST(Twips, FifteenTwipsMakeOnePixel)
{
    EXPECT_EQ(ui::TwipsToPixels(15), 1);
    EXPECT_EQ(ui::TwipsToPixels(5000), 333);
    EXPECT_EQ(ui::TwipsToPixels(7200), 480);
    EXPECT_EQ(ui::TwipsToPixels(0), 0);
    EXPECT_EQ(ui::TwipsToPixels(22), 1);
    EXPECT_EQ(ui::TwipsToPixels(23), 2);
}

TEST(ShellOpen, TheTestDoubleRecordsInsteadOfOpening)
{
    ui::RecordedShellOpens opened;
    ui::ShellOpen("/tmp/report.htm");
    EXPECT_EQ(opened.documents(), std::vector<std::filesystem::path>{"/tmp/report.htm"});
}

} // namespace
