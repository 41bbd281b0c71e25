#pragma once
// Modal dialogs: every form shown modally goes through ShowModal, so that
// tests can answer them the way ScriptedMessageBoxes answers message boxes.

#include <deque>
#include <functional>
#include <string>
#include <vector>

class QDialog;

namespace ui {

// Shows the dialog modally and returns its result (QDialog::Accepted or
// QDialog::Rejected) once it is closed.
int ShowModal(QDialog& dialog);

// While alive, ShowModal shows no modal dialog: each dialog is recorded (by
// its objectName) and answered by the first queued script for its objectName
// or its class name. The script gets the shown dialog and may set its
// controls and press its buttons; whatever it leaves open is then closed as
// rejected. A dialog with no script is closed as rejected at once, so that
// nothing goes ahead unasked.
class ScriptedDialogs {
public:
    using Script = std::function<void(QDialog&)>;

    ScriptedDialogs();
    ~ScriptedDialogs();
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    void answer(std::string dialogName, Script script) { scripts_.push_back({std::move(dialogName), std::move(script)}); }
    const std::vector<std::string>& shown() const { return shown_; }

    int run(QDialog& dialog);

private:
    struct Queued {
        std::string dialogName;
        Script script;
    };
    std::deque<Queued> scripts_;
    std::vector<std::string> shown_;
    ScriptedDialogs* previous_;
};

} // namespace ui
