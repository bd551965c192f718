#include "wordgames/LetterGameFrame.h"

#include <utility>

#include "engine/GraphicEngine.h"
#include "engine/KeyedPicture.h"
#include "engine/SoundEngine.h"
#include "platform/Clock.h"
#include "results/ResultBook.h"
#include "results/ResultPanel.h"
#include "shell/ExitQuestion.h"
#include "shell/FrameLoop.h"
#include "shell/Globals.h"
#include "shell/MessageDlg.h"
#include "shell/Settings.h"
#include "shell/SetupDlg.h"
#include "widgets/AniButton.h"
#include "widgets/MouseRouting.h"

LetterGameFrame::LetterGameFrame(LetterGameLook look) : look_(std::move(look)) {}

LetterGameFrame::~LetterGameFrame() = default;

bool LetterGameFrame::Run() {
    Halted = true;
    return true;
}

bool LetterGameFrame::RestoreRes() {
    if (auto setup = g_SetupDlg) setup->SetPictures(look_.setupBackground, "DEFAULT", "OK", "CANCEL");
    if (auto dlg = g_MsgDlg)
        dlg->SetPictures(look_.roundEnd[0], look_.roundEnd[1], look_.roundEnd[2], look_.roundEnd[3]);
    LoadPictures();
    CreateButtons();
    return true;
}

void LetterGameFrame::CreateButtons() {
    // The buttons are made once; a later reload gives them their pictures again and keeps
    // whether they are enabled, so a round survives a lost display.
    const bool first = !BtnStart;
    if (first) {
        BtnStart = AniButton::Create([this] { BtnStart_OnClick(); });
        BtnPause = AniButton::Create([this] { BtnPause_OnClick(); });
        BtnEnd = AniButton::Create([this] { BtnEnd_OnClick(); });
        BtnSetup = AniButton::Create([this] { BtnSetup_OnClick(); });
        BtnExit = AniButton::Create([this] { BtnExit_OnClick(); });
    }
    const std::array<AniButton*, 5> bySlot{BtnStart.get(), BtnPause.get(), BtnEnd.get(), BtnSetup.get(), BtnExit.get()};
    for (size_t i = 0; i < bySlot.size(); ++i) {
        const LetterGameLook::Button& b = look_.buttons[i];
        bySlot[i]->SetPicture(b.picture, b.frames, false);
        bySlot[i]->Left = b.left;
        bySlot[i]->Top = b.top;
    }
    if (first) SetRoundButtons(false);
}

void LetterGameFrame::SetRoundButtons(bool running) {
    // Enabling keeps the frame a button shows, so an enabled button is set back to its normal one.
    BtnStart->SetEnabled(!running);
    BtnPause->SetEnabled(running);
    BtnEnd->SetEnabled(running);
    for (AniButton* b : {BtnStart.get(), BtnPause.get(), BtnEnd.get()}) {
        if (b->Enabled()) b->SetFrame(0);
    }
}

bool LetterGameFrame::UpDateGame() {
    if (Halted) return true;
    StepRound();
    switch (Outcome()) {
    case RoundOutcome::Passed:
        ShowPassed();
        break;
    case RoundOutcome::Lost:
        ShowLost();
        break;
    case RoundOutcome::Running:
        break;
    }
    return true;
}

void LetterGameFrame::CountKey(char16_t expected, bool hit) { tally_.Count(expected, hit, platform::Clock::Now()); }

void LetterGameFrame::CountStrayKey() { tally_.CountStray(platform::Clock::Now()); }

void LetterGameFrame::KeepResult(const char* outcome) {
    result_ = results::ResultBook::Record(
        results::GameResult::Of(tally_, platform::Clock::Now(), look_.historyName, HistoryLevel(), outcome));
    if (auto dlg = g_MsgDlg) dlg->SetFigures(results::ResultPanel::DialogLines(result_));
}

void LetterGameFrame::ShowPassed() {
    KeepResult("passed");
    auto dlg = g_MsgDlg;
    const int32_t result = dlg ? dlg->Show(u"恭喜，您通过了!", 240, 212, true) : MessageDlg::kEnd;
    if (result == MessageDlg::kNext) {
        RaiseLevel();
        SaveSettings(kSettingsFile);
        BtnStart_OnClick();
    } else if (result == MessageDlg::kRePlay) {
        BtnStart_OnClick();
    } else {
        BtnEnd_OnClick();
    }
}

void LetterGameFrame::ShowLost() {
    KeepResult("failed");
    auto dlg = g_MsgDlg;
    const int32_t result = dlg ? dlg->Show(u"您认输吧!", 240, 212, false) : MessageDlg::kEnd;
    if (ReplayAfterLoss(result)) {
        BtnStart_OnClick();
    } else {
        BtnEnd_OnClick();
    }
}

bool LetterGameFrame::ReplayAfterLoss(int32_t result) const { return result != MessageDlg::kEnd; }

MouseRouting::Table<AniButton, 5> LetterGameFrame::Buttons() const {
    return {BtnStart, BtnPause, BtnEnd, BtnSetup, BtnExit};
}

bool LetterGameFrame::MouseDown(int32_t Button, int32_t X, int32_t Y) {
    MouseRouting::Down(Button, X, Y, Buttons());
    return true;
}

bool LetterGameFrame::MouseUp(int32_t Button, int32_t X, int32_t Y) {
    MouseRouting::Up(Button, X, Y, Buttons());
    return true;
}

bool LetterGameFrame::MouseMove(int32_t X, int32_t Y) {
    MouseRouting::Move(X, Y, Buttons());
    return true;
}

void LetterGameFrame::SelectArialFont() {
    if (g_Graphic) g_Graphic->SetFont(g_ArialFont);
}

platform::SurfacePtr LetterGameFrame::LoadGamePicture(const char* name, bool keyed) {
    return KeyedPicture(g_Graphic.get(), name, keyed);
}

void LetterGameFrame::BtnStart_OnClick() {
    SetRoundButtons(true);
    Halted = false;
    StartRound();
    SelectArialFont();
    if (g_Sound) {
        g_Sound->RewindLoop();
        g_Sound->PlayLoop();
    }
}

void LetterGameFrame::BtnPause_OnClick() {
    const bool wasHalted = Halted;
    Halted = !Halted;
    if (Halted) {
        HoldTypingTime();
    } else {
        ResumeTypingTime();
    }
    if (!g_Sound) return;
    if (wasHalted) {
        g_Sound->PlayLoop();
    } else {
        g_Sound->StopLoop();
    }
}

void LetterGameFrame::BtnEnd_OnClick() {
    SetRoundButtons(false);
    Halted = true;
    if (g_Sound) g_Sound->StopLoop();
}

void LetterGameFrame::BtnExit_OnClick() {
    HoldTypingTime();
    if (!ExitQuestion::LeaveGame()) ResumeTypingTime();
}

void LetterGameFrame::BtnSetup_OnClick() {
    auto setup = g_SetupDlg;
    HoldTypingTime();
    if (setup && setup->Show(look_.setupPage, 173, 143)) {
        SettingsConfirmed();
        BtnStart_OnClick();
    }
    ResumeTypingTime();
    SelectArialFont();
}

void LetterGameFrame::HoldTypingTime() { tally_.Hold(platform::Clock::Now()); }

void LetterGameFrame::WindowHidden(bool hidden) { tally_.HoldWhileHidden(hidden, platform::Clock::Now()); }

void LetterGameFrame::ResumeTypingTime() {
    if (!Halted) tally_.GoOn(platform::Clock::Now());
}

void LetterGameFrame::DrawButtons() {
    const std::array<AniButton*, 5> bySlot{BtnStart.get(), BtnPause.get(), BtnEnd.get(), BtnSetup.get(), BtnExit.get()};
    for (LetterGameLook::Slot slot : look_.drawOrder) {
        if (AniButton* b = bySlot[static_cast<size_t>(slot)]) b->Draw();
    }
}

bool LetterGameFrame::IsPaused() const { return Halted && BtnEnd && BtnEnd->Enabled(); }

void LetterGameFrame::DrawPausedNotice(int32_t centreX, int32_t centreY) {
    if (IsPaused()) notice_.DrawLarge(centreX, centreY, FieldNotice::kPaused);
}
