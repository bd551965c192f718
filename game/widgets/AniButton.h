#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Surface.h"

// The game's push button: a strip of frames (normal, hover, pressed, disabled) drawn by its
// owner, with an enter sound, a click sound and three events for its single owner. Whoever
// offers an event to a button holds a reference to it for the length of the call.
class AniButton : public std::enable_shared_from_this<AniButton> {
public:
    int32_t Top = 0;
    int32_t Left = 0;

    std::function<void()> OnClick;
    std::function<void()> OnEnter;
    std::function<void()> OnLeave;

    static std::shared_ptr<AniButton> Create();
    // A button whose owner only listens to its clicks.
    static std::shared_ptr<AniButton> Create(std::function<void()> onClick);

    void SetPicture(const std::string& name, int32_t frameCount, bool pixelHitTest);
    void SetFrame(int32_t index);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    bool MouseDown(int32_t Button, int32_t X, int32_t Y);
    void MouseMove(int32_t X, int32_t Y);
    bool MouseUp(int32_t Button, int32_t X, int32_t Y);
    void Draw();

    int32_t FrameOffset() const { return frameOffset_; }
    int32_t FrameWidth() const { return frameWidth_; }
    int32_t FrameHeight() const { return frameHeight_; }
    bool Hovered() const { return hovered_; }
    bool Pressed() const { return pressed_; }

private:
    AniButton() = default;
    bool Inside(int32_t X, int32_t Y) const;
    void Raise(const std::function<void()>& event);

    platform::SurfacePtr picture_;
    bool enabled_ = true;
    int32_t frameCount_ = 0;
    int32_t frameWidth_ = 0;
    int32_t frameHeight_ = 0;
    int32_t frameOffset_ = 0;
    bool pixelHitTest_ = false;
    bool pressed_ = false;
    bool hovered_ = false;
};
