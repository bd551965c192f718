#include "widgets/AniButton.h"

#include "engine/GraphicEngine.h"
#include "engine/KeyedPicture.h"
#include "engine/SharedEngines.h"
#include "engine/SoundEngine.h"
#include "widgets/LeftButton.h"

namespace {

// A pixel of this raw value in the current frame counts as outside the button.
constexpr uint16_t kOutsidePixel = 1000;

}  // namespace

std::shared_ptr<AniButton> AniButton::Create() { return std::shared_ptr<AniButton>(new AniButton()); }

std::shared_ptr<AniButton> AniButton::Create(std::function<void()> onClick) {
    auto button = Create();
    button->OnClick = std::move(onClick);
    return button;
}

void AniButton::SetPicture(const std::string& name, int32_t frameCount, bool pixelHitTest) {
    picture_ = KeyedPicture(g_Graphic.get(), name, true);
    frameCount_ = frameCount;
    frameHeight_ = picture_ ? picture_->Height() : 0;
    frameWidth_ = (picture_ && frameCount > 0) ? picture_->Width() / frameCount : 0;
    pixelHitTest_ = pixelHitTest;
}

void AniButton::SetFrame(int32_t index) {
    if (index >= 0 && index < frameCount_) frameOffset_ = index * frameWidth_;
}

void AniButton::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (!enabled) frameOffset_ = frameCount_ >= 4 ? 3 * frameWidth_ : 0;
}

// The left and top edge columns themselves are outside.
bool AniButton::Inside(int32_t X, int32_t Y) const {
    return X > Left && Y > Top && X - Left < frameWidth_ && Y - Top < frameHeight_;
}

// Callers hold a reference to the button for the rest of the operation: the handler may make
// the owner drop this button (a screen recreating its buttons while a dialog opened from the
// handler runs). The handler itself is copied so that it outlives a reassignment too.
void AniButton::Raise(const std::function<void()>& event) {
    if (!event) return;
    auto handler = event;
    handler();
}

void AniButton::MouseMove(int32_t X, int32_t Y) {
    if (!enabled_) return;
    bool inside = Inside(X, Y);
    if (inside && pixelHitTest_ && picture_ && picture_->ReadPixel(frameOffset_ + X - Left, Y - Top) == kOutsidePixel) {
        inside = false;
    }
    if (inside) {
        if (pressed_) {
            frameOffset_ = 2 * frameWidth_;
            return;
        }
        if (frameOffset_ == frameWidth_) return;
        auto self = shared_from_this();
        frameOffset_ = frameWidth_;
        if (g_Sound) g_Sound->PlayEnter();
        Raise(OnEnter);
        hovered_ = true;
        return;
    }
    if (frameOffset_ != 0) {
        auto self = shared_from_this();
        frameOffset_ = 0;
        Raise(OnLeave);
        hovered_ = false;
    }
}

bool AniButton::MouseDown(int32_t Button, int32_t X, int32_t Y) {
    if (!enabled_ || Button != kLeftButton || !Inside(X, Y) || !hovered_) return false;
    frameOffset_ = 2 * frameWidth_;
    pressed_ = true;
    return true;
}

bool AniButton::MouseUp(int32_t Button, int32_t /*X*/, int32_t /*Y*/) {
    if (!enabled_) return false;
    bool click = Button == kLeftButton && frameOffset_ == 2 * frameWidth_ && pressed_;
    pressed_ = false;
    if (!click) return false;
    auto self = shared_from_this();
    frameOffset_ = 0;
    if (g_Sound) g_Sound->PlayClick();
    Raise(OnClick);
    return true;
}

void AniButton::Draw() {
    if (!picture_ || !g_Graphic) return;
    g_Graphic->DrawKeyed(Left, Top, *picture_,
                         platform::Rect{frameOffset_, 0, frameOffset_ + frameWidth_, frameHeight_});
}
