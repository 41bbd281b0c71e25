#include "platform/ui/shell_open.h"

#include <QDesktopServices>
#include <QUrl>

namespace ui {

namespace {

RecordedShellOpens* activeRecorder = nullptr;

} // namespace

void ShellOpen(const std::filesystem::path& document)
{
    if (activeRecorder) {
        activeRecorder->record(document);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(document.string())));
}

RecordedShellOpens::RecordedShellOpens() : previous_(activeRecorder) { activeRecorder = this; }

RecordedShellOpens::~RecordedShellOpens() { activeRecorder = previous_; }

} // namespace ui
