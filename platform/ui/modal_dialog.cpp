#include "platform/ui/modal_dialog.h"

#include <QDialog>
#include <QPointer>

#include <algorithm>

namespace ui {

namespace {

ScriptedDialogs* activeScript = nullptr;

} // namespace

int ShowModal(QDialog& dialog)
{
    if (activeScript) return activeScript->run(dialog);
    return dialog.exec();
}

ScriptedDialogs::ScriptedDialogs() : previous_(activeScript) { activeScript = this; }

ScriptedDialogs::~ScriptedDialogs() { activeScript = previous_; }

int ScriptedDialogs::run(QDialog& dialog)
{
    const std::string name = dialog.objectName().toStdString();
    const std::string className = dialog.metaObject()->className();
    shown_.push_back(name);
    const auto queued = std::find_if(scripts_.begin(), scripts_.end(), [&](const Queued& q) {
        return q.dialogName == name || q.dialogName == className;
    });
    QPointer<QDialog> alive(&dialog);
    dialog.setResult(QDialog::Rejected);
    if (queued != scripts_.end()) {
        const Script script = std::move(queued->script);
        scripts_.erase(queued);
        dialog.show();
        script(dialog);
    }
    if (!alive) return QDialog::Rejected;
    if (dialog.isVisible()) dialog.reject();
    return dialog.result();
}

} // namespace ui
