#include "platform/ui/animation.h"

#include "platform/ui/avi_clip.h"

#include <QTimer>

#include <algorithm>

namespace ui {

namespace {

constexpr int kShortestFrameMs = 15;

} // namespace

Animation::Animation(QWidget* parent) : QLabel(parent), timer_(new QTimer(this))
{
    setAlignment(Qt::AlignCenter);
    connect(timer_, &QTimer::timeout, this, &Animation::showNextFrame);
}

Animation::~Animation() = default;

void Animation::Open(const std::filesystem::path& file)
{
    Close();
    auto clip = std::make_unique<AviClip>(file);
    timer_->setInterval(std::max(kShortestFrameMs, int(clip->frameMicroseconds() / 1000)));
    clip_ = std::move(clip);
    showNextFrame();
}

void Animation::Play()
{
    if (clip_) timer_->start();
}

void Animation::Stop() { timer_->stop(); }

void Animation::Close()
{
    Stop();
    clip_.reset();
    clear();
    framesShown_ = 0;
}

bool Animation::isPlaying() const { return timer_->isActive(); }

void Animation::showNextFrame()
{
    if (!clip_) return;
    try {
        setPixmap(QPixmap::fromImage(clip_->nextFrame()));
        ++framesShown_;
    } catch (const std::exception&) {
        // The file changed under the clip: what was shown stays, nothing more.
        Stop();
    }
}

} // namespace ui
