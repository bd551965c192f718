#include "police/PoliceRenderer.h"

#include <algorithm>
#include <cmath>

#include "engine/GameFont.h"
#include "engine/GraphicEngine.h"
#include "engine/LegibleText.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "police/PoliceButtons.h"
#include "police/PolicePictures.h"
#include "police/PoliceRace.h"
#include "police/RaceTextList.h"
#include "shell/Globals.h"
#include "widgets/AniButton.h"

namespace {
constexpr uint32_t kListColor = 0xC1FF;
constexpr uint32_t kTypedColor = 0xFE9900;
constexpr uint32_t kStatusColor = 0xCCBB;
constexpr uint32_t kStatusPanel = 0x202020;
constexpr uint32_t kWrongKeyColor = 0x0000FF;  // red
// The red box that stands for a space, in rows below the line's top: where the race face's small
// letters stand, from x-height to baseline.
constexpr int32_t kSpaceMarkTop = 6, kSpaceMarkBottom = 17;
// The finish prompt: dark red ringed with white, shown every other 400 ms.
constexpr uint32_t kPromptColor = 0x0000A0;
constexpr uint32_t kPromptOutline = 0xFFFFFF;
constexpr uint32_t kBlinkMs = 400;
constexpr int32_t kPanelX = 23, kPanelY = 510;
constexpr int32_t kTextX = 60, kTextY = 525;
constexpr int32_t kMarkerY = 560;
// The typing line stays inside the panel, with the same margin on the right as on the left.
constexpr platform::Rect kTypingWindow{kTextX, kPanelY, 777 - (kTextX - kPanelX), 555};
// Where the typing line's text can fall: from its top to the bottom of the typing window.
constexpr platform::Rect kLineArea{kTextX, kTextY, kTypingWindow.right, kTypingWindow.bottom};
// The panel's face inside its rounded corners, which hides the map: a scroll leaves it as it was.
constexpr platform::Rect kPanelFace{kPanelX + 17, kPanelY + 3, kPanelX + 737, kPanelY + 82};
// The text list's names end short of the marks for texts above and below at x 774.
constexpr platform::Rect kListNames{575, 41, 770, 565};

void DrawOpaqueWhole(const platform::SurfacePtr& picture, int32_t x, int32_t y) {
    if (picture) g_Graphic->DrawOpaque(x, y, *picture, g_FullScreenRect);
}

void DrawButtons(std::initializer_list<std::shared_ptr<AniButton>> buttons) {
    for (const auto& b : buttons) {
        if (b) b->Draw();
    }
}
}  // namespace

PoliceRenderer::PoliceRenderer(const PolicePictures& pictures, const PoliceButtons& buttons,
                               const RaceTextList& textList, const PoliceRace& race)
    : pictures_(pictures), buttons_(buttons), textList_(textList), race_(race) {}

void PoliceRenderer::DrawMainMenu() {
    DrawOpaqueWhole(pictures_.Background, 0, 0);
    DrawButtons({buttons_.BtnSingle, buttons_.BtnMulti, buttons_.BtnExit});
}

void PoliceRenderer::DrawSettingBackground() {
    DrawOpaqueWhole(pictures_.Background, 0, 0);
    DrawTextList();
    g_Graphic->SetFont(g_SongFont);
    g_Graphic->BeginText();
    g_Graphic->SetTextColor(kListColor);
    g_Graphic->DrawText(20, 350, u"您可与选择扮演 警察或小偷 两个不同的角色");
    g_Graphic->DrawText(20, 380, u"选择不同的加速工具调节游戏难度");
    g_Graphic->EndText();
}

void PoliceRenderer::DrawTextList() {
    const int32_t first = textList_.FirstShown();
    const int32_t row = textList_.TextListID - first;
    if (row >= 0 && row <= RaceTextList::kLastRow)
        g_Graphic->FillBox(573, 40 + 25 * row, 790, 66 + 25 * row, kListColor, 0);

    g_Graphic->SetFont(g_SongFont);
    g_Graphic->BeginText();
    g_Graphic->SetTextColor(kListColor);
    const auto& entries = textList_.Entries();
    for (int32_t i = first; i <= textList_.LastShown(); ++i) {
        g_Graphic->DrawTextFitted(kListNames.left, 45 + 25 * (i - first), entries[static_cast<size_t>(i)], kListNames);
    }
    // Marks at the right edge tell of texts above or below the rows (the wheel or the arrow
    // keys bring them).
    if (first > 0) g_Graphic->DrawText(774, 45, u"▲");
    if (textList_.LastShown() < textList_.LastIndex()) g_Graphic->DrawText(774, 45 + 25 * RaceTextList::kLastRow, u"▼");
    g_Graphic->EndText();
}

void PoliceRenderer::DrawSettingButtons(bool withStart) {
    DrawButtons({buttons_.BtnPolice, buttons_.BtnThief});
    if (withStart) DrawButtons({buttons_.BtnStart});
    DrawButtons({buttons_.BtnCancel, buttons_.BtnCar0, buttons_.BtnCar1, buttons_.BtnBike0, buttons_.BtnBike1});
}

void PoliceRenderer::DrawRace(bool opponentMarker, bool wrongKey) {
    g_Graphic->SetFont(g_ArialFont);

    const Runner& local = race_.Local();
    const int32_t left = camera_.Left();
    const int32_t top = camera_.Top();
    camera_.Follow(local.MapX, local.MapY);
    if (pictures_.Background) {
        // The map covers the screen: when the camera moved, every part of it changed but the
        // panel's face, which is compared as on any other frame.
        if (camera_.Left() != left || camera_.Top() != top) g_Graphic->MarkChangedAround(kPanelFace);
        const platform::Rect view{camera_.Left(), camera_.Top(), camera_.Left() + platform::Display::kWidth,
                                  camera_.Top() + platform::Display::kHeight};
        g_Graphic->DrawOpaque(0, 0, *pictures_.Background, view);
    }
    DrawRunner(RaceTrack::kPolice);
    DrawRunner(RaceTrack::kThief);

    if (pictures_.Input) g_Graphic->DrawKeyed(kPanelX, kPanelY, *pictures_.Input, g_FullScreenRect);

    const RaceText& text = race_.Text;
    // After the last character the panel says what the next key does, blinking with the line.
    const bool finished = text.TextLength() > 0 && local.InputPos >= text.TextLength();
    if (finished && (platform::Clock::Now() / kBlinkMs) % 2 == 0) {
        DrawFinishPrompt();
    } else {
        DrawTypingLine(wrongKey);
    }

    DrawOpaqueWhole(pictures_.Blue, ProgressMarkerX(local.InputPos, text.TextLength()), kMarkerY);
    if (opponentMarker) {
        DrawOpaqueWhole(pictures_.Yellow, ProgressMarkerX(race_.Opponent().InputPos, text.TextLength()), kMarkerY);
    }
}

void PoliceRenderer::DrawTypingLine(bool wrongKey) {
    const RaceText& text = race_.Text;
    if (line_.pixels && line_.wrongKey == wrongKey && line_.typed == text.WindowTyped() &&
        line_.rest == text.WindowRest()) {
        g_Graphic->DrawOpaque(kLineArea.left, kLineArea.top, *line_.pixels, platform::Rect{});
    } else {
        line_.caretX = DrawLineText(wrongKey);
        KeepLine(wrongKey);
    }
    g_Graphic->FillBox(kTextX + line_.caretX - 1, 520, kTextX + line_.caretX + 1, 550, 0, 0);
}

int32_t PoliceRenderer::DrawLineText(bool wrongKey) {
    const RaceText& text = race_.Text;
    g_Graphic->BeginText();
    g_Graphic->SetTextColor(kTypedColor);
    g_Graphic->DrawTextClipped(kTextX, kTextY, text.WindowTyped(), kTypingWindow);
    const int32_t w = std::min(g_Graphic->MeasureText(text.WindowTyped()).cx, kTypingWindow.Width());
    const std::u16string& rest = text.WindowRest();
    platform::Rect wrongSpace{};
    if (wrongKey && !rest.empty()) {
        const std::u16string next = rest.substr(0, 1);
        const platform::Size size = g_Graphic->MeasureText(next);
        if (next == u" ") {
            // A space has nothing to paint red: a red box of its width stands for it.
            wrongSpace = {kTextX + w, kTextY + kSpaceMarkTop, std::min(kTextX + w + size.cx, kTypingWindow.right),
                          kTextY + kSpaceMarkBottom};
        } else {
            g_Graphic->SetTextColor(kWrongKeyColor);
            g_Graphic->DrawTextClipped(kTextX + w, kTextY, next, kTypingWindow);
        }
        g_Graphic->SetTextColor(0);
        g_Graphic->DrawTextClipped(kTextX + w + size.cx, kTextY, rest.substr(1), kTypingWindow);
    } else {
        g_Graphic->SetTextColor(0);
        g_Graphic->DrawTextClipped(kTextX + w, kTextY, rest, kTypingWindow);
    }
    g_Graphic->EndText();
    if (wrongSpace.right > wrongSpace.left)
        g_Graphic->FillBox(wrongSpace.left, wrongSpace.top, wrongSpace.right, wrongSpace.bottom, kWrongKeyColor,
                           platform::Surface::RawFromBgr(kWrongKeyColor));
    return w;
}

void PoliceRenderer::KeepLine(bool wrongKey) {
    if (!PanelOpaqueUnderLine()) {
        line_.pixels = nullptr;
        return;
    }
    if (!line_.pixels) line_.pixels = platform::Surface::Create(kLineArea.Width(), kLineArea.Height());
    if (!line_.pixels) return;
    line_.pixels->CopyFast(0, 0, g_Graphic->BackSurface(), kLineArea, false);
    line_.typed = race_.Text.WindowTyped();
    line_.rest = race_.Text.WindowRest();
    line_.wrongKey = wrongKey;
}

bool PoliceRenderer::PanelOpaqueUnderLine() {
    const platform::Surface* panel = pictures_.Input.get();
    if (panel == panelChecked_) return panelOpaque_;
    panelChecked_ = panel;
    panelOpaque_ = false;
    if (panel == nullptr || kLineArea.right - kPanelX > panel->Width() || kLineArea.bottom - kPanelY > panel->Height())
        return false;
    panelOpaque_ = true;
    if (!panel->HasColorKey()) return true;
    for (int32_t y = kLineArea.top; y < kLineArea.bottom && panelOpaque_; ++y) {
        for (int32_t x = kLineArea.left; x < kLineArea.right && panelOpaque_; ++x)
            panelOpaque_ = panel->ReadPixel(x - kPanelX, y - kPanelY) != panel->ColorKey();
    }
    return panelOpaque_;
}

// Enter and Esc keep their own meanings in a race; the space bar, like any other key, ends it.
const char16_t* PoliceRenderer::FinishPrompt() const {
    if (!race_.LocalIsPolice()) return u"按空格键冲过终点！";
    return race_.OpponentFromNetwork ? u"按空格键重新开始" : u"按空格键结束比赛";
}

void PoliceRenderer::DrawFinishPrompt() {
    if (!promptFont_) promptFont_ = GameFont::Chinese(-22);
    const std::shared_ptr<GameFont> previous = g_Graphic->Font();
    g_Graphic->SetFont(promptFont_);
    const std::u16string prompt = FinishPrompt();
    const int32_t width = LegibleText::Width(*g_Graphic, prompt);
    const int32_t x = kTypingWindow.left + (kTypingWindow.Width() - width) / 2;
    LegibleText::DrawOutlined(*g_Graphic, x, kTextY - 2, prompt, kPromptColor, kPromptOutline);
    g_Graphic->SetFont(previous);
}

void PoliceRenderer::DrawRunner(int32_t index) {
    const Runner& r = race_.Track.Runners[static_cast<size_t>(index)];
    const auto& strip = pictures_.Strips[static_cast<size_t>(SpriteTable::StripIndex(r.Role, r.Pose, r.Heading))];
    if (!strip) return;
    // The clipped copy changes the rectangle: it is made afresh for every figure.
    platform::Rect src = race_.Track.Sprites().FrameRect(r);
    g_Graphic->DrawKeyedClipped(camera_.ScreenX(r.MapX), camera_.ScreenY(r.MapY), *strip, src);
}

void PoliceRenderer::DrawResult() { DrawOpaqueWhole(pictures_.Background, 0, 0); }

void PoliceRenderer::DrawStatus(const std::u16string& text, int32_t& ticks, StatusSpot at) {
    if (ticks <= 0) return;
    --ticks;
    if (!statusFont_) statusFont_ = GameFont::Chinese(-16);
    const std::shared_ptr<GameFont> previous = g_Graphic->Font();
    g_Graphic->SetFont(statusFont_);
    const int32_t width = LegibleText::Width(*g_Graphic, text);
    // The pale green of the messages on a dark panel of its own, readable over any picture.
    LegibleText::DrawOnPanel(*g_Graphic, at.centreX - width / 2, at.top, text, kStatusColor, kStatusPanel, kStatusColor,
                             5);
    g_Graphic->SetFont(previous);
}

PoliceRenderer::StatusSpot PoliceRenderer::StatusPlace(PoliceScreen screen) {
    switch (screen) {
    case kScreenSetting:
        return {286, 412};
    case kScreenLobby:
        return {490, 73};  // between the title and the table
    default:
        return {400, 412};
    }
}

int32_t PoliceRenderer::ProgressMarkerX(int32_t typed, int32_t length) {
    if (length <= 0) return 50;
    const double x = static_cast<double>(typed) / static_cast<double>(length) * 680.0 + 50.0;
    return static_cast<int32_t>(std::nearbyint(x));
}
