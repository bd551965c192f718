#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Geometry.h"
#include "platform/Surface.h"

class GameFont;
class HiScore;
struct HiScoreEntry;
class SpaceField;
struct SpriteKind;

// Draws the space shooter's screens into the back surface: the menu and high-score
// backgrounds, the play with its status bar, and the game-over screen. It owns the pictures.
class SpacePainter {
public:
    SpacePainter();
    ~SpacePainter();

    // (Re)loads every picture; keyed ones take black as transparent.
    void Load();

    void DrawMenu();
    // The table's entries as "name : score", green, in the font selected (a Chinese face of the
    // same size for names the Latin face has no letters for; the score stays in the font selected).
    void DrawHiScores(const HiScore& table);
    // Scenery, ship, enemies with their letters, bonus word, missiles, blasts and status bar.
    void DrawPlay(const SpaceField& field);
    // The frozen scenery under "GameOver", the score the game ended with, and how to get back to
    // the menu.
    void DrawGameOver(const SpaceField& field, int32_t score);

    // Frame f of a kind's picture (three frames per row).
    static platform::Rect FrameRect(const SpriteKind& kind, uint8_t frame);

private:
    // The game font for plain Latin text; Chinese text takes the Chinese face of the same size.
    std::shared_ptr<GameFont> FontFor(const std::u16string& text, const std::shared_ptr<GameFont>& latin) const;
    void DrawHiScoreLine(int32_t y, const HiScoreEntry& entry, const std::shared_ptr<GameFont>& latin);
    void DrawScenery(const SpaceField& field);
    void DrawEnemies(const SpaceField& field);
    void DrawBonusWord(const SpaceField& field);
    void DrawShots(const SpaceField& field);
    void DrawStatusBar(const SpaceField& field);

    platform::SurfacePtr labelScore_, labelLife_, labelTime_;
    platform::SurfacePtr life_, lifeOver_;
    platform::SurfacePtr background_, hiScoreBackground_, menuBackground_, stars_;
    std::shared_ptr<GameFont> chineseFont_;
    std::shared_ptr<GameFont> noticeFont_;  // the level-up notice, half again as tall
    platform::SurfacePtr ship_, enemy0_, enemy4_, explosion_, bomb_, captionBack_;
};
