// Forms: one closing itself inside its own handler, the program's end
// unloading them all, and modal dialogs answered by a test script.

#include "platform/ui/form_instance.h"
#include "platform/ui/modal_dialog.h"
#include "support/qt_application.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

// A form whose Close button unloads it from inside the button's handler, and
// then goes on using its own members, as the forms' handlers do.
class SelfClosingForm : public QWidget {
public:
    SelfClosingForm() : close(new QPushButton(QStringLiteral("Close"), this))
    {
        connect(close, &QPushButton::clicked, this, [this] {
            ui::FormInstance<SelfClosingForm>::unloadSelf();
            handledAfterUnload = close->text() == QStringLiteral("Close");
        });
    }
    void formUnloading() { ++unloadings; }

    QPushButton* close;
    bool handledAfterUnload = false;
    static inline int unloadings = 0;
};

class OtherForm : public QWidget {};

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override { testing_support::EnsureQtApplication(); }
};

TEST_F(FormsTest, AFormUnloadingItselfInItsHandlerIsDetachedAtOnceAndDeletedLater)
{
    using Form = ui::FormInstance<SelfClosingForm>;
    SelfClosingForm& form = Form::get();
    form.show();
    QPointer<SelfClosingForm> watcher(&form);

    QTest::mouseClick(form.close, Qt::LeftButton);

    EXPECT_FALSE(Form::isLoaded()); // the next reference starts afresh
    ASSERT_FALSE(watcher.isNull());
    EXPECT_TRUE(watcher->handledAfterUnload);
    EXPECT_FALSE(watcher->isVisible());
    EXPECT_EQ(SelfClosingForm::unloadings, 1);
    ui::DeleteUnloadedForms();
    EXPECT_TRUE(watcher.isNull());
}

TEST_F(FormsTest, UnloadingAllFormsReachesEveryLoadedFormClass)
{
    ui::FormInstance<SelfClosingForm>::get().show();
    ui::FormInstance<OtherForm>::get();
    const int before = SelfClosingForm::unloadings;

    ui::UnloadAllForms();

    EXPECT_FALSE(ui::FormInstance<SelfClosingForm>::isLoaded());
    EXPECT_FALSE(ui::FormInstance<OtherForm>::isLoaded());
    EXPECT_EQ(SelfClosingForm::unloadings, before + 1);
    ui::DeleteUnloadedForms();
}

// A dialog as forms build them: a check box and an OK button that accepts.
class OptionsDialog : public QDialog {
public:
    OptionsDialog() : check(new QCheckBox(this)), ok(new QPushButton(QStringLiteral("OK"), this))
    {
        setObjectName(QStringLiteral("frmOption"));
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    }
    QCheckBox* check;
    QPushButton* ok;
};

TEST_F(FormsTest, ScriptedDialogsAnswerModalDialogsByNameOrClass)
{
    ui::ScriptedDialogs dialogs;
    dialogs.answer("frmOption", [](QDialog& shown) {
        auto& options = static_cast<OptionsDialog&>(shown);
        EXPECT_TRUE(options.isVisible());
        options.check->setChecked(true);
        QTest::mouseClick(options.ok, Qt::LeftButton);
    });
    dialogs.answer("QDialog", [](QDialog&) {}); // leaves the dialog open

    OptionsDialog options;
    EXPECT_EQ(ui::ShowModal(options), QDialog::Accepted);
    EXPECT_TRUE(options.check->isChecked());
    EXPECT_FALSE(options.isVisible());

    QDialog plain;
    plain.setObjectName(QStringLiteral("frmFilterSettings"));
    EXPECT_EQ(ui::ShowModal(plain), QDialog::Rejected);
    EXPECT_FALSE(plain.isVisible());

    OptionsDialog unscripted;
    EXPECT_EQ(ui::ShowModal(unscripted), QDialog::Rejected); // nothing goes ahead unasked
    EXPECT_FALSE(unscripted.check->isChecked());
    EXPECT_EQ(dialogs.shown(), (std::vector<std::string>{"frmOption", "frmFilterSettings", "frmOption"}));
}

} // namespace
