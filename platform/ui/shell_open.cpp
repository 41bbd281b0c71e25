#include "platform/ui/shell_open.h"

#include <QDesktopServices>
#include <QUrl>

namespace ui {

namespace {

RecordedShellOpens* activeRecorder = nullptr;

} // namespace

bool ShellOpen(const std::filesystem::path& document)
{
    if (activeRecorder) return activeRecorder->record(document);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(document.string())));
}

RecordedShellOpens::RecordedShellOpens() : previous_(activeRecorder) { activeRecorder = this; }

RecordedShellOpens::~RecordedShellOpens() { activeRecorder = previous_; }

} // namespace ui
