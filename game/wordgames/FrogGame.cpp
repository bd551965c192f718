#include "wordgames/FrogGame.h"

#include <algorithm>
#include <cmath>

#include "engine/GameFont.h"
#include "engine/GraphicEngine.h"
#include "engine/SoundEngine.h"
#include "platform/Round.h"
#include "shell/Globals.h"
#include "shell/Settings.h"
#include "widgets/AniButton.h"
#include "wordgames/DictWordSource.h"

namespace {

constexpr int16_t kJumpSound = 0;
constexpr int16_t kBackSound = 1;
constexpr int16_t kTypeSound = 3;
constexpr uint32_t kBlack = 0;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 255;
constexpr uint32_t kBlue = 0xFF0000;
constexpr int32_t kStatusX = 300, kStatusY = 570;

LetterGameLook MakeLook() {
    LetterGameLook look;
    look.buttons[LetterGameLook::kStart] = {"FROG_START", 4, 193, 523};
    look.buttons[LetterGameLook::kEnd] = {"FROG_END", 4, 159, 479};
    look.buttons[LetterGameLook::kPause] = {"FROG_PAUSE", 4, 114, 509};
    look.buttons[LetterGameLook::kSetup] = {"FROG_SETTING", 4, 149, 550};
    look.buttons[LetterGameLook::kExit] = {"FROG_EXIT", 3, 10, 530};
    look.drawOrder = {LetterGameLook::kExit, LetterGameLook::kPause, LetterGameLook::kSetup, LetterGameLook::kEnd,
                      LetterGameLook::kStart};
    look.setupBackground = "FROG_SETUP";
    look.setupPage = 2;
    look.roundEnd = {"FROG_DLG_BG", "FROG_DLG_REPLAY", "FROG_DLG_NEXT", "FROG_DLG_END"};
    look.historyName = "frog";
    return look;
}

}  // namespace

std::shared_ptr<FrogGame> FrogGame::Create() { return std::shared_ptr<FrogGame>(new FrogGame()); }

FrogGame::FrogGame() : LetterGameFrame(MakeLook()) {
    if (g_Sound) {
        g_Sound->LoadLoop("FROG_BG");
        g_Sound->LoadSound("FROG_JUMP", kJumpSound);
        g_Sound->LoadSound("FROG_BACK", kBackSound);
        g_Sound->LoadSound("TYPE", kTypeSound);
    }
    if (g_ArialFont) g_ArialFont->SetHeight(19);
    RestoreRes();
}

FrogGame::~FrogGame() {
    if (!g_Sound) return;
    g_Sound->StopLoop();
    for (int16_t slot : {kJumpSound, kBackSound, kTypeSound}) g_Sound->StopSound(slot);
}

void FrogGame::LoadPictures() {
    background_ = LoadGamePicture("FROG_BACKGROUND", false);
    back1_ = LoadGamePicture("FROG_BACK_1", true);
    back2_ = LoadGamePicture("FROG_BACK_2", true);
    front1_ = LoadGamePicture("FROG_FRONT_1", true);
    front2_ = LoadGamePicture("FROG_FRONT_2", true);
    leaf_ = LoadGamePicture("FROG_LEAF", true);
}

bool FrogGame::Run() {
    LetterGameFrame::Run();
    LoadChosenCourse();
    return true;
}

void FrogGame::LoadChosenCourse() {
    // A course that cannot be loaded leaves the words of the one before, and its name; it is not
    // tried again until another one is chosen, or Start is pressed with no words at all.
    triedCourse_ = g_Settings.Field[kFrogCourse];
    if (dict_.LoadCourse(triedCourse_)) course_ = triedCourse_;
}

void FrogGame::BtnStart_OnClick() {
    // A course chosen in the settings answered "not now" is the next round's.
    // With no words, the course is read again: its message says why once more, and a course put
    // right meanwhile is played.
    if (g_Settings.Field[kFrogCourse] != triedCourse_ || dict_.Count() <= 0) LoadChosenCourse();
    if (dict_.Count() <= 0) return;
    SetRoundButtons(true);
    Halted = false;
    // The layout measures its words in the game font.
    SelectArialFont();
    StartRound();
    if (g_Sound) {
        g_Sound->RewindLoop();
        g_Sound->PlayLoop();
    }
}

void FrogGame::StartRound() {
    tally_.Reset();
    DictWordSource words(dict_);
    level_ = g_Settings.Field[kFrogLevel];
    river_.Start(level_, words);
}

void FrogGame::SettingsConfirmed() { LoadChosenCourse(); }

void FrogGame::StepRound() {
    if (river_.Tick() == FrogRiver::Event::kFellBack && g_Sound) g_Sound->PlaySound(kBackSound);
}

LetterGameFrame::RoundOutcome FrogGame::Outcome() const {
    return river_.Passed() ? RoundOutcome::Passed : RoundOutcome::Running;
}

std::string FrogGame::HistoryLevel() const { return std::to_string(course_) + "/" + std::to_string(level_); }

void FrogGame::RaiseLevel() {
    int32_t& level = g_Settings.Field[kFrogLevel];
    level = std::min(level + 1, 9);
}

bool FrogGame::KeyDown(int32_t /*KeyCode*/, int32_t /*Shift*/) {
    if (g_Sound) g_Sound->PlaySound(kTypeSound);
    return true;
}

bool FrogGame::KeyPress(int32_t KeyAscii) {
    if (Halted) return true;
    DictWordSource words(dict_);
    // Inside a word its next letter is wanted; before one, any first letter of the next row.
    const bool inWord = river_.TargetLeaf() != river_.FrogLeaf() && !river_.RestPart().empty();
    const char16_t wanted = inWord ? river_.RestPart()[0] : static_cast<char16_t>(KeyAscii);
    const int32_t target = river_.TargetLeaf();
    const size_t typed = river_.TypedPart().size();
    const bool jumped = river_.KeyPress(KeyAscii, words) == FrogRiver::Event::kJumped;
    if (jumped && g_Sound) g_Sound->PlaySound(kJumpSound);
    if (KeyAscii > ' ' && KeyAscii < 127)
        CountKey(wanted, jumped || river_.TargetLeaf() != target || river_.TypedPart().size() > typed);
    return true;
}

void FrogGame::DrawWord(int32_t number) {
    const FrogRiver::Leaf& leaf = river_.At(number);
    const int32_t x = platform::Round(leaf.X + static_cast<float>(leaf.TextOffset));
    const int32_t y = platform::Round(leaf.Y + 25);
    if (number == river_.TargetLeaf() && number != river_.FrogLeaf()) {
        g_Graphic->SetTextColor(kRed);
        g_Graphic->DrawText(x, y, river_.TypedPart());
        g_Graphic->SetTextColor(kBlue);
        g_Graphic->DrawText(x + g_Graphic->MeasureText(river_.TypedPart()).cx, y, river_.RestPart());
        return;
    }
    g_Graphic->SetTextColor(leaf.Done ? kRed : kBlack);
    g_Graphic->DrawText(x, y, leaf.Word);
}

void FrogGame::DrawRiver() {
    g_Graphic->FillBox(445, 115, 555, 139, kBlack, kWhite);
    const int32_t left = river_.CrossingsLeft();
    if (back1_) {
        for (int32_t i = 1; i <= left; ++i) g_Graphic->DrawKeyed(750 - i * 80, 500, *back1_, g_FullScreenRect);
    }
    const platform::SurfacePtr& across = river_.AnimPhase() ? front1_ : front2_;
    if (across) {
        for (int32_t i = 1; i <= FrogRiver::kCrossings - left; ++i) {
            g_Graphic->DrawKeyed(i * 80 - 70, 100, *across, g_FullScreenRect);
        }
    }
    g_Graphic->BeginText();
    for (int32_t number = 0; number <= FrogRiver::kFarBank; ++number) {
        const FrogRiver::Leaf& leaf = river_.At(number);
        if (number < FrogRiver::kFarBank && leaf_) {
            platform::Rect src{0, 0, 148, 59};
            g_Graphic->DrawKeyedClipped(platform::Round(leaf.X), platform::Round(leaf.Y), *leaf_, src);
        }
        DrawWord(number);
    }
    g_Graphic->EndText();
    const platform::SurfacePtr& frog = river_.AnimPhase() ? back1_ : back2_;
    if (left >= 0 && frog) {
        const FrogRiver::Leaf& seat = river_.At(river_.FrogLeaf());
        platform::Rect src{0, 0, 70, 50};
        g_Graphic->DrawKeyedClipped(platform::Round(seat.X + 25), platform::Round(seat.Y - 30), *frog, src);
    }
}

bool FrogGame::UpDateScreen() {
    if (!g_Graphic) return true;
    SelectArialFont();
    if (background_) g_Graphic->DrawOpaque(0, 0, *background_, g_FullScreenRect);
    if (!Halted) DrawRiver();
    if (!BtnStart->Enabled()) DrawStatusLine();
    DrawPausedNotice(400, 300);
    DrawButtons();
    return true;
}

void FrogGame::DrawStatusLine() {
    using N = FieldNotice;
    const int32_t goal = FrogRiver::kCrossings + 1;
    const int32_t crossed = goal - 1 - river_.CrossingsLeft();
    // Numbered as the settings number it.
    const std::u16string line =
        u"等级 " + N::Number(level_) + u"　过河 " + N::Number(crossed < 0 ? 0 : crossed) + u"/" + N::Number(goal);
    notice_.DrawStatusLine(kStatusX, kStatusY, line);
}
