#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "shell/Settings.h"
#include "wordgames/IDict.h"
#include "wordgames/SpaceScenery.h"
#include "wordgames/SpaceSprites.h"

// The rules of the space shooter: up to fifteen lettered enemies falling toward the ship that
// patrols the bottom of the screen, the homing missile a letter key fires at its enemy, the
// blasts, the energy the enemies that reach the ship take, the level-up every two minutes and the
// bonus word whose typing restores energy. Everything lives in fixed arrays; the screen draws it
// and plays the effects each step reports.
class SpaceField {
public:
    static constexpr int32_t kEnemies = 15;
    static constexpr int32_t kMaxEnergy = 173;
    static constexpr int32_t kLevelMs = 120000;
    static constexpr int32_t kShotPenalty = 400;
    static constexpr int32_t kBonusEnergy = 50;
    static constexpr float kShipY = 500;
    static constexpr int32_t kShipWidth = 70;
    static constexpr int32_t kShipHeight = 59;

    // Effects due after a step, one bit per effect slot.
    static constexpr uint32_t kShoot = 1u << 0;
    static constexpr uint32_t kBlast = 1u << 1;
    static constexpr uint32_t kPlaneOut = 1u << 2;
    static constexpr uint32_t kWordOut = 1u << 3;
    static constexpr uint32_t kUpgrade = 1u << 4;
    static constexpr int16_t kEffectSlots = 5;

    SpaceField();

    // Enemy speed, enemy count and bonus mode from the settings, without starting a game.
    void TakeDifficulty(const SettingsRecord& settings);
    // A new game at the difficulty of the settings; in bonus mode the bonus words come from a
    // random one of the first seven courses.
    void NewGame(const SettingsRecord& settings);
    // One frame of play, `elapsedMs` after the last one; returns the effects due.
    uint32_t Tick(int32_t elapsedMs);
    // A key pressed during play: the bonus word's next letter while it can be typed, otherwise a
    // shot at the first enemy with that letter and no missile in flight, and when there is none
    // a penalty of 400 points.
    uint32_t Key(int32_t keyCode);
    // Energy gone: the game is over.
    bool Over() const { return energy_ < 1; }
    // The difficulty reached, for the next game: the speed setting, the enemy count and bonus
    // mode (out-of-range values become 3).
    void StoreDifficulty(SettingsRecord& settings) const;
    void ClearScore() { score_ = 0; }

    // A word of the dictionary, never its last slot; a dictionary without words gives the
    // game's title.
    static std::u16string RandomWord(const IDict& dict);

    int32_t Score() const { return score_; }
    // Keys that hit neither an enemy nor the bonus word, since the program started.
    int32_t MissedKeys() const { return missedKeys_; }
    int32_t Energy() const { return energy_; }
    int32_t LevelTimerMs() const { return levelTimerMs_; }
    const std::u16string& LevelMessage() const { return levelMessage_; }
    float EnemySpeed() const { return enemySpeed_; }
    int32_t EnemyCount() const { return enemyCount_; }
    float ShipX() const { return shipX_; }
    float ShipY() const { return shipY_; }
    uint8_t ShipFrame() const { return shipAnimation_.Frame; }
    const std::array<Enemy, kEnemies>& Enemies() const { return enemies_; }
    const std::array<Missile, kEnemies>& Missiles() const { return missiles_; }
    const std::array<Blast, kEnemies>& Blasts() const { return blasts_; }
    const BonusWord& Bonus() const { return bonus_; }
    const SpaceScenery& Scenery() const { return scenery_; }
    const IDict& Dictionary() const { return dict_; }
    const SpriteKind& EnemyKind(uint8_t kind) const { return enemyKinds_[kind & 1u]; }
    const SpriteKind& BlastKind() const { return blastKind_; }
    static const SpriteKind& ShipKind();

    // Tests: set up a situation.
    Enemy& EditEnemy(int32_t i) { return enemies_[static_cast<size_t>(i)]; }
    BonusWord& EditBonus() { return bonus_; }
    void SetEnergy(int32_t energy) { energy_ = energy; }
    void SetScore(int32_t score) { score_ = score; }

private:
    struct ShipAnimation {
        uint8_t Frame = 0, Tick = 0;
    };

    void MoveShip();
    uint32_t MoveEnemy(int32_t i);
    uint32_t MoveBonusWord();
    uint32_t MoveMissile(int32_t i);
    void MoveBlast(int32_t i);
    uint32_t CountDownLevel(int32_t elapsedMs);
    // The blast of enemy i, centred on it; the enemy leaves play until the blast ends.
    void Explode(int32_t i);
    void NextBonusWord();
    void AddScore(int32_t points);

    IDict dict_;
    SpaceScenery scenery_;
    std::array<SpriteKind, 2> enemyKinds_{};
    SpriteKind missileKind_{};
    SpriteKind blastKind_{};
    std::array<Enemy, kEnemies> enemies_{};
    std::array<Missile, kEnemies> missiles_{};
    std::array<Blast, kEnemies> blasts_{};
    BonusWord bonus_;
    int32_t score_ = 0;
    int32_t missedKeys_ = 0;
    float shipX_ = 400, shipY_ = kShipY, shipVX_ = 1;
    ShipAnimation shipAnimation_;
    int32_t energy_ = kMaxEnergy;
    int32_t levelTimerMs_ = kLevelMs;
    std::u16string levelMessage_;
    float enemySpeed_ = 0;
    int32_t enemyCount_ = 1;
    int32_t bonusMode_ = 0;
};
