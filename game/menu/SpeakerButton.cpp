#include "menu/SpeakerButton.h"

#include "shell/SoundSwitch.h"
#include "widgets/AniButton.h"

std::shared_ptr<SpeakerButton> SpeakerButton::Create() {
    std::shared_ptr<SpeakerButton> speaker(new SpeakerButton());
    speaker->button_ = AniButton::Create([] { SoundSwitch::Toggle(); });
    speaker->button_->Left = kLeft;
    speaker->button_->Top = kTop;
    speaker->ShowState();
    return speaker;
}

void SpeakerButton::ShowState() {
    shownMuted_ = SoundSwitch::Muted();
    button_->SetPicture(shownMuted_ ? "MAIN_SOUND_OFF" : "MAIN_SOUND_ON", 3, false);
}

bool SpeakerButton::MouseDown(int32_t Button, int32_t X, int32_t Y) { return button_->MouseDown(Button, X, Y); }

void SpeakerButton::MouseMove(int32_t X, int32_t Y) { button_->MouseMove(X, Y); }

bool SpeakerButton::MouseUp(int32_t Button, int32_t X, int32_t Y) { return button_->MouseUp(Button, X, Y); }

void SpeakerButton::Draw() {
    // Ctrl+M may have switched the sound since the last frame.
    if (shownMuted_ != SoundSwitch::Muted()) ShowState();
    button_->Draw();
}
