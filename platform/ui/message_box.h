#pragma once
// Message boxes: every message of the program goes through MsgBox, with the
// title "Tarvex" unless a component names its own. Tests replace the boxes
// with ScriptedMessageBoxes.

#include <deque>
#include <string>
#include <vector>

namespace ui {

// Styles: a button set plus an icon.
inline constexpr int vbOKOnly = 0;
inline constexpr int vbYesNo = 4;
inline constexpr int vbQuestion = 32;
inline constexpr int vbExclamation = 48;
inline constexpr int vbInformation = 64;

// Answers.
inline constexpr int vbOK = 1;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

// Shows the text with the style's icon and buttons and returns the button
// pressed. With the environment variable TARVEX_MESSAGE_BOX=stdout (used when
// tests start the program as a process) the box is printed to standard output
// as "MsgBox <style>: <text>" and answered with its default answer.
int MsgBox(const std::string& text, int style = vbOKOnly, const std::string& title = "Tarvex");

// The answer a box gives when nobody picks one: OK for an OK box, No for a
// question, so that nothing goes ahead unasked.
int DefaultAnswer(int style);

struct ShownMessage {
    std::string text;
    int style = vbOKOnly;
    std::string title = "Tarvex";
    friend bool operator==(const ShownMessage&, const ShownMessage&) = default;
};

// While alive, message boxes are not shown: each is recorded and answered with
// the next queued answer, or with its default answer when none is queued.
class ScriptedMessageBoxes {
public:
    ScriptedMessageBoxes();
    ~ScriptedMessageBoxes();
    ScriptedMessageBoxes(const ScriptedMessageBoxes&) = delete;
    ScriptedMessageBoxes& operator=(const ScriptedMessageBoxes&) = delete;

    void queueAnswer(int answer) { answers_.push_back(answer); }
    const std::vector<ShownMessage>& shown() const { return shown_; }

    int answer(const std::string& text, int style, const std::string& title);

private:
    std::deque<int> answers_;
    std::vector<ShownMessage> shown_;
    ScriptedMessageBoxes* previous_;
};

} // namespace ui
