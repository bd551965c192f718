#include "wordgames/SpacePainter.h"

#include <cmath>

#include "engine/GameFont.h"
#include "engine/GraphicEngine.h"
#include "engine/KeyedPicture.h"
#include "engine/LegibleText.h"
#include "platform/Round.h"
#include "results/HiScore.h"
#include "shell/Globals.h"
#include "wordgames/SpaceField.h"
#include "wordgames/SpaceStatusText.h"

namespace {

constexpr uint32_t kBlack = 0;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kRed = 255;
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr int32_t kArialHeight = 21;
constexpr int32_t kGameOverHeight = 40;
constexpr int32_t kLevelNoticeY = 70;
constexpr int32_t kLevelNoticeHeight = 32;

platform::SurfacePtr Picture(const char* name, bool keyed) { return KeyedPicture(g_Graphic.get(), name, keyed); }

// The whole picture as an explicit rectangle, so clipping at the edges keeps its visible part.
platform::Rect Whole(const platform::Surface& picture) { return {0, 0, picture.Width(), picture.Height()}; }

bool IsLatin(const std::u16string& text) {
    for (char16_t c : text) {
        if (c >= 0x80) return false;
    }
    return true;
}

}  // namespace

SpacePainter::SpacePainter()
    : chineseFont_(GameFont::Chinese(kArialHeight, true)), noticeFont_(GameFont::Chinese(kLevelNoticeHeight, true)) {}

SpacePainter::~SpacePainter() = default;

std::shared_ptr<GameFont> SpacePainter::FontFor(const std::u16string& text,
                                                const std::shared_ptr<GameFont>& latin) const {
    return IsLatin(text) ? latin : chineseFont_;
}

void SpacePainter::Load() {
    if (!g_Graphic) return;
    labelScore_ = Picture("SPACE_LABEL_SCORE", true);
    labelLife_ = Picture("SPACE_LABEL_LIFE", true);
    labelTime_ = Picture("SPACE_LABEL_TIME", true);
    life_ = Picture("SPACE_LIFE", false);
    lifeOver_ = Picture("SPACE_LIFE_OVER", false);
    background_ = Picture("SPACE_BACKGROUND", true);
    hiScoreBackground_ = Picture("SPACE_HISCORE_BG", false);
    menuBackground_ = Picture("SPACE_MAINMENU_BG", false);
    stars_ = Picture("SPACE_STARS", false);
    ship_ = Picture("SPACE_SHIP", true);
    enemy0_ = Picture("SPACE_ENEMY_0", true);
    enemy4_ = Picture("SPACE_ENEMY_4", true);
    explosion_ = Picture("SPACE_EXPLOSION_0", true);
    bomb_ = Picture("SPACE_BOMB", true);
    captionBack_ = Picture("SPACE_CAPTION_BACK", true);
}

platform::Rect SpacePainter::FrameRect(const SpriteKind& kind, uint8_t frame) {
    const int32_t left = frame % 3 * kind.Width;
    const int32_t top = frame / 3 * kind.Height;
    return {left, top, left + kind.Width, top + kind.Height};
}

void SpacePainter::DrawMenu() {
    if (g_Graphic && menuBackground_) g_Graphic->DrawOpaque(0, 0, *menuBackground_, g_FullScreenRect);
}

void SpacePainter::DrawHiScores(const HiScore& table) {
    if (!g_Graphic) return;
    if (hiScoreBackground_) g_Graphic->DrawOpaque(0, 0, *hiScoreBackground_, g_FullScreenRect);
    const std::shared_ptr<GameFont> selected = g_Graphic->Font();
    for (int32_t i = 0; i < table.EntryCount(); ++i) DrawHiScoreLine(165 + 35 * i, table.EntryAt(i), selected);
    g_Graphic->SetFont(selected);
}

void SpacePainter::DrawHiScoreLine(int32_t y, const HiScoreEntry& entry, const std::shared_ptr<GameFont>& latin) {
    // The name takes the face that has its letters; the score keeps the Latin face, so a line
    // with a Chinese name shows its digits as every other line does.
    const std::shared_ptr<GameFont> nameFont = FontFor(entry.Name, latin);
    std::u16string name = entry.Name;
    std::u16string score = SpaceStatusText::HiScoreLine(u"", entry.Score);
    if (nameFont == latin) {
        name += score;
        score.clear();
    }
    int32_t x = 250;
    for (const auto& [text, font] : {std::pair{&name, nameFont}, std::pair{&score, latin}}) {
        if (text->empty()) continue;
        g_Graphic->SetFont(font);
        g_Graphic->BeginText();
        g_Graphic->SetTextColor(kGreen);
        g_Graphic->DrawText(x, y, *text);
        x += g_Graphic->MeasureText(*text).cx;
        g_Graphic->EndText();
    }
}

void SpacePainter::DrawScenery(const SpaceField& field) {
    g_Graphic->Clear(kBlack);
    if (background_) {
        for (const SpaceScenery::Layer& layer : field.Scenery().Layers()) {
            platform::Rect src{0, 0, 493, 318};
            g_Graphic->DrawKeyedClipped(platform::Round(layer.X), platform::Round(layer.Y), *background_, src);
        }
    }
    if (stars_) {
        for (const SpaceScenery::Star& star : field.Scenery().Stars()) {
            const platform::Rect dot{star.Shade, 0, star.Shade + 1, 1};
            g_Graphic->DrawOpaque(platform::Round(star.X), platform::Round(star.Y), *stars_, dot);
        }
    }
}

void SpacePainter::DrawEnemies(const SpaceField& field) {
    for (int32_t i = 0; i < field.EnemyCount(); ++i) {
        const Enemy& enemy = field.Enemies()[static_cast<size_t>(i)];
        if (!enemy.Alive) continue;
        const SpriteKind& kind = field.EnemyKind(enemy.Kind);
        const platform::SurfacePtr& picture = enemy.Kind == 0 ? enemy0_ : enemy4_;
        if (picture) {
            platform::Rect src = FrameRect(kind, enemy.Frame);
            g_Graphic->DrawKeyedClipped(platform::Round(enemy.X), platform::Round(enemy.Y), *picture, src);
        }
        const auto middle = enemy.X + static_cast<float>(kind.Width / 2);
        if (captionBack_) {
            platform::Rect badge{0, 0, 27, 21};
            g_Graphic->DrawKeyedClipped(platform::Round(middle - 13), platform::Round(enemy.Y), *captionBack_, badge);
        }
        g_Graphic->BeginText();
        g_Graphic->SetTextColor(kGreen);
        const int32_t width = g_Graphic->MeasureText(enemy.Letter).cx;
        g_Graphic->DrawText(platform::Round(middle - static_cast<float>(width / 2)), platform::Round(enemy.Y),
                            enemy.Letter);
        g_Graphic->EndText();
    }
}

void SpacePainter::DrawBonusWord(const SpaceField& field) {
    const BonusWord& bonus = field.Bonus();
    g_Graphic->SetFont(FontFor(bonus.Word, g_ArialFont));
    const int32_t x = platform::Round(bonus.X);
    const int32_t y = platform::Round(bonus.Y);
    // Red and blue are dark on the night sky: a white ring keeps both readable.
    LegibleText::DrawOutlined(*g_Graphic, x, y, bonus.TypedPart, kRed, kWhite, 2);
    const int32_t typedWidth = LegibleText::Width(*g_Graphic, bonus.TypedPart);
    LegibleText::DrawOutlined(*g_Graphic, x + typedWidth, y, bonus.RestPart, kBlue, kWhite, 2);
    g_Graphic->SetFont(g_ArialFont);
}

void SpacePainter::DrawShots(const SpaceField& field) {
    const int32_t count = field.EnemyCount();
    if (bomb_) {
        for (int32_t i = 0; i < count; ++i) {
            const Missile& missile = field.Missiles()[static_cast<size_t>(i)];
            if (!missile.Active) continue;
            platform::Rect src = Whole(*bomb_);
            g_Graphic->DrawKeyedClipped(platform::Round(missile.X), platform::Round(missile.Y), *bomb_, src);
        }
    }
    if (explosion_) {
        for (int32_t i = 0; i < count; ++i) {
            const Blast& blast = field.Blasts()[static_cast<size_t>(i)];
            if (!blast.Active) continue;
            platform::Rect src = FrameRect(field.BlastKind(), blast.Frame);
            g_Graphic->DrawKeyedClipped(platform::Round(blast.X), platform::Round(blast.Y), *explosion_, src);
        }
    }
}

void SpacePainter::DrawStatusBar(const SpaceField& field) {
    if (labelScore_) g_Graphic->DrawKeyed(30, 20, *labelScore_, g_FullScreenRect);
    if (labelLife_) g_Graphic->DrawKeyed(234, 20, *labelLife_, g_FullScreenRect);
    if (labelTime_) g_Graphic->DrawKeyed(530, 20, *labelTime_, g_FullScreenRect);
    if (life_) g_Graphic->DrawOpaque(300, 20, *life_, g_FullScreenRect);
    if (lifeOver_ && field.Energy() > 0) {
        g_Graphic->StretchDraw(platform::Rect{304, 23, 304 + field.Energy(), 39}, *lifeOver_, g_FullScreenRect,
                               kCopyWait);
    }
    // The level notice in large letters across the middle, under the status bar.
    if (const std::u16string& notice = field.LevelMessage(); !notice.empty()) {
        g_Graphic->SetFont(noticeFont_);
        const int32_t width = LegibleText::Width(*g_Graphic, notice);
        LegibleText::DrawOutlined(*g_Graphic, (800 - width) / 2, kLevelNoticeY, notice, kGreen, kBlack, 2);
    }
    g_Graphic->SetFont(g_ArialFont);
    g_Graphic->BeginText();
    g_Graphic->SetTextColor(kGreen);
    g_Graphic->DrawText(80, 20, SpaceStatusText::Score(field.Score()));
    g_Graphic->DrawText(585, 20, SpaceStatusText::Timer(field.LevelTimerMs()));
    g_Graphic->EndText();
}

void SpacePainter::DrawPlay(const SpaceField& field) {
    if (!g_Graphic) return;
    g_Graphic->SetFont(g_ArialFont);
    DrawScenery(field);
    if (ship_) {
        const platform::Rect src = FrameRect(SpaceField::ShipKind(), field.ShipFrame());
        g_Graphic->DrawKeyed(platform::Round(field.ShipX()), platform::Round(field.ShipY()), *ship_, src);
    }
    DrawEnemies(field);
    DrawBonusWord(field);
    DrawShots(field);
    DrawStatusBar(field);
}

void SpacePainter::DrawGameOver(const SpaceField& field, int32_t score) {
    if (!g_Graphic) return;
    DrawScenery(field);
    if (g_ArialFont) g_ArialFont->SetHeight(kGameOverHeight);
    g_Graphic->SetFont(g_ArialFont);
    g_Graphic->BeginText();
    g_Graphic->SetTextColor(kRed);
    g_Graphic->DrawText(300, 300, u"GameOver");
    g_Graphic->EndText();
    // The score the game ended with, in the status bar's green.
    const std::u16string line = u"得分 " + SpaceStatusText::Score(score);
    g_Graphic->SetFont(chineseFont_);
    LegibleText::DrawOutlined(*g_Graphic, (800 - LegibleText::Width(*g_Graphic, line)) / 2, 250, line, kGreen, kBlack,
                              2);
    g_Graphic->SetFont(g_SongFont);
    g_Graphic->BeginText();
    g_Graphic->SetTextColor(kWhite);
    g_Graphic->DrawText(335, 350, u"按 Esc 键返回主选单");
    g_Graphic->EndText();
    if (g_ArialFont) g_ArialFont->SetHeight(kArialHeight);
}
