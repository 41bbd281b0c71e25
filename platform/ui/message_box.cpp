#include "platform/ui/message_box.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ui {

namespace {

ScriptedMessageBoxes* activeScript = nullptr;

constexpr int kButtonMask = 7;
constexpr int kIconMask = 0x70;

QMessageBox::Icon iconFor(int style)
{
    switch (style & kIconMask) {
    case 16: return QMessageBox::Critical;
    case vbQuestion: return QMessageBox::Question;
    case vbExclamation: return QMessageBox::Warning;
    case vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

bool printsToStandardOutput()
{
    const char* mode = std::getenv("TARVEX_MESSAGE_BOX");
    return mode && std::strcmp(mode, "stdout") == 0;
}

int showDialog(const std::string& text, int style, const std::string& title)
{
    const bool yesNo = (style & kButtonMask) == vbYesNo;
    QMessageBox box(iconFor(style), QString::fromStdString(title), QString::fromStdString(text),
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    if (yesNo) return box.exec() == QMessageBox::Yes ? vbYes : vbNo;
    box.exec();
    return vbOK;
}

} // namespace

int DefaultAnswer(int style) { return (style & kButtonMask) == vbYesNo ? vbNo : vbOK; }

int MsgBox(const std::string& text, int style, const std::string& title)
{
    if (activeScript) return activeScript->answer(text, style, title);
    if (printsToStandardOutput() || !qobject_cast<QApplication*>(QCoreApplication::instance())) {
        std::printf("MsgBox %d: %s\n", style, text.c_str());
        std::fflush(stdout);
        return DefaultAnswer(style);
    }
    return showDialog(text, style, title);
}

ScriptedMessageBoxes::ScriptedMessageBoxes() : previous_(activeScript) { activeScript = this; }

ScriptedMessageBoxes::~ScriptedMessageBoxes() { activeScript = previous_; }

int ScriptedMessageBoxes::answer(const std::string& text, int style, const std::string& title)
{
    shown_.push_back({text, style, title});
    if (answers_.empty()) return DefaultAnswer(style);
    const int next = answers_.front();
    answers_.pop_front();
    return next;
}

} // namespace ui
