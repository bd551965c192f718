#pragma once
#include <cstdint>
#include <memory>

class AniButton;

// The main menu's speaker button: a click switches music and effects off or on, and the button
// shows a speaker with waves while the sound is on and struck through while it is off, whichever
// way the choice was made.
class SpeakerButton {
public:
    // Top left corner of the menu, clear of the title, the game buttons and the picture frame.
    static constexpr int32_t kLeft = 10;
    static constexpr int32_t kTop = 10;

    static std::shared_ptr<SpeakerButton> Create();

    bool MouseDown(int32_t Button, int32_t X, int32_t Y);
    void MouseMove(int32_t X, int32_t Y);
    bool MouseUp(int32_t Button, int32_t X, int32_t Y);
    void Draw();

    const std::shared_ptr<AniButton>& Button() const { return button_; }

private:
    SpeakerButton() = default;
    void ShowState();

    std::shared_ptr<AniButton> button_;
    bool shownMuted_ = false;
};
