#pragma once
// The animation control: opens an AVI clip (see AviClip) and plays it in a
// loop, centred in the control, until stopped or closed.

#include <QLabel>

#include <filesystem>
#include <memory>

class QTimer;

namespace ui {

class AviClip;

class Animation : public QLabel {
    Q_OBJECT
public:
    explicit Animation(QWidget* parent = nullptr);
    ~Animation() override;

    // Opens the clip and shows its first frame; a clip that cannot be opened
    // raises kCannotOpenClip and leaves the control empty.
    void Open(const std::filesystem::path& file);
    void Play();
    void Stop();
    // Stops and empties the control.
    void Close();

    bool isOpen() const { return clip_ != nullptr; }
    bool isPlaying() const;
    int framesShown() const { return framesShown_; }

private:
    void showNextFrame();

    std::unique_ptr<AviClip> clip_;
    QTimer* timer_;
    int framesShown_ = 0;
};

} // namespace ui
