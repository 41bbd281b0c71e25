#pragma once
// The tool bar control: buttons addressed by their 1-based index, separators
// counted, each with its caption, key, description, tool tip (kept as given,
// trailing blanks included) and image key from the bar's image list. A click
// on a button raises ButtonClick with its index.

#include <QToolBar>

#include <memory>
#include <string>
#include <vector>

class QAction;

namespace ui {

class ImageList;
class ToolBar;

class ToolButton {
public:
    bool isSeparator() const { return separator_; }
    const std::string& Caption() const { return caption_; }
    const std::string& Key() const { return key_; }
    const std::string& Description() const { return description_; }
    const std::string& ToolTipText() const { return toolTip_; }
    const std::string& Image() const { return image_; }
    // Shows the image under the key in the bar's image list; 35603 when absent.
    void setImage(const std::string& key);
    bool Enabled() const;
    void setEnabled(bool enabled);
    bool Visible() const;
    void setVisible(bool visible);

    QAction* action() const { return action_; }

private:
    friend class ToolBar;
    ToolButton(ToolBar& bar, QAction* action, bool separator) : bar_(bar), action_(action), separator_(separator) {}

    ToolBar& bar_;
    QAction* action_;
    bool separator_;
    std::string caption_, key_, description_, toolTip_, image_;
};

class ToolBar : public QToolBar {
    Q_OBJECT
public:
    explicit ToolBar(QWidget* parent = nullptr);
    ~ToolBar() override;

    void AddButton(const std::string& caption, const std::string& key, const std::string& description,
                   const std::string& toolTip);
    void AddSeparator();

    int Count() const { return int(buttons_.size()); }
    // The button (or separator) at the 1-based index; 35600 out of range.
    ToolButton& Buttons(int index);

    ImageList* imageList() const { return imageList_; }
    void setImageList(ImageList* list) { imageList_ = list; }

signals:
    void ButtonClick(int index);

private:
    std::vector<std::unique_ptr<ToolButton>> buttons_;
    ImageList* imageList_ = nullptr;
};

} // namespace ui
