#include "platform/ui/tool_bar.h"

#include "platform/ui/control_errors.h"
#include "platform/ui/image_list.h"

#include <QAction>
#include <QIcon>
#include <QLayout>

namespace ui {

void ToolButton::setImage(const std::string& key)
{
    action_->setIcon(QIcon(ImageOf(bar_.imageList(), key)));
    image_ = key;
}

bool ToolButton::Enabled() const { return action_->isEnabled(); }
void ToolButton::setEnabled(bool enabled) { action_->setEnabled(enabled); }
bool ToolButton::Visible() const { return action_->isVisible(); }
void ToolButton::setVisible(bool visible) { action_->setVisible(visible); }

ToolBar::ToolBar(QWidget* parent) : QToolBar(parent)
{
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(16, 16));
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setContentsMargins(0, 0, 0, 0);
    layout()->setContentsMargins(0, 0, 0, 0);
    layout()->setSpacing(0);
    setStyleSheet(QStringLiteral("QToolBar { border: none; } QToolButton { padding: 0px 2px; }"));
}

ToolBar::~ToolBar() = default;

void ToolBar::AddButton(const std::string& caption, const std::string& key, const std::string& description,
                        const std::string& toolTip)
{
    QAction* action = addAction(QString::fromStdString(caption));
    action->setToolTip(QString::fromStdString(toolTip));
    action->setStatusTip(QString::fromStdString(description));
    const int index = Count() + 1;
    connect(action, &QAction::triggered, this, [this, index] { emit ButtonClick(index); });
    std::unique_ptr<ToolButton> button(new ToolButton(*this, action, false));
    button->caption_ = caption;
    button->key_ = key;
    button->description_ = description;
    button->toolTip_ = toolTip;
    buttons_.push_back(std::move(button));
}

void ToolBar::AddSeparator() { buttons_.emplace_back(new ToolButton(*this, addSeparator(), true)); }

ToolButton& ToolBar::Buttons(int index)
{
    if (index < 1 || index > Count()) RaiseControlError(kIndexOutOfBounds);
    return *buttons_[index - 1];
}

} // namespace ui
