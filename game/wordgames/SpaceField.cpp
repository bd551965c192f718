#include "wordgames/SpaceField.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/Random.h"
#include "platform/Round.h"
#include "wordgames/LetterPool.h"

namespace {

constexpr float kScreenBottom = 600;
constexpr float kBonusStartX = 3200;
constexpr float kBonusRight = 800;
constexpr float kBonusGone = -800;
constexpr float kMaxSway = 4;
constexpr float kMaxMissileSpeed = 8;
constexpr int32_t kBlastWidth = 197;
constexpr int32_t kBlastHeight = 186;
constexpr int32_t kMessageMs = 115000;             // the level-up message stays five seconds
constexpr size_t kWordRoom = IDict::kLongestWord;  // the course keeps no longer word
constexpr const char16_t* kLevelUpText = u"等级提升,难度增大……";
constexpr const char16_t* kNoWordText = u"金雀打字游戏";

float Draw() { return static_cast<float>(platform::Random::Next()); }

// Whether two rectangles (left, top, width, height) share any pixel.
bool Overlap(int32_t ax, int32_t ay, int32_t aw, int32_t ah, int32_t bx, int32_t by, int32_t bw, int32_t bh) {
    return ax < bx + bw && bx < ax + aw && ay < by + bh && by < ay + ah;
}

char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

}  // namespace

SpaceField::SpaceField() {
    enemyKinds_[0] = {65, 55, 11, 2};
    enemyKinds_[1] = {75, 65, 12, 4};
    // The missile picture is drawn whole: its kind has no frame size.
    missileKind_ = {0, 0, 1, 1};
    blastKind_ = {kBlastWidth, kBlastHeight, 9, 2};
    for (Blast& blast : blasts_) blast.DriftY = 1;
    bonus_.Word.reserve(kWordRoom);
    bonus_.TypedPart.reserve(kWordRoom);
    bonus_.RestPart.reserve(kWordRoom);
    levelMessage_.reserve(std::char_traits<char16_t>::length(kLevelUpText));
}

const SpriteKind& SpaceField::ShipKind() {
    static const SpriteKind kShip{kShipWidth, kShipHeight, 11, 4};
    return kShip;
}

std::u16string SpaceField::RandomWord(const IDict& dict) {
    // (Count - 1) × r never reaches the last slot; without words it lies in (-1, 0], and WordAt
    // gives the empty word for both, so nothing outside the words is read.
    const double at = std::floor(static_cast<double>(dict.Count() - 1) * platform::Random::Next());
    std::u16string word = dict.WordAt(static_cast<int32_t>(at));
    if (word.empty()) word = kNoWordText;
    return word;
}

void SpaceField::TakeDifficulty(const SettingsRecord& settings) {
    enemyCount_ = std::clamp(settings.Field[kSpaceCount], 1, kEnemies);
    bonusMode_ = settings.Field[kSpaceBonus];
    enemySpeed_ = static_cast<float>(settings.Field[kSpaceSpeed]) / 2.5F + 0.4F;
}

void SpaceField::NewGame(const SettingsRecord& settings) {
    TakeDifficulty(settings);
    if (bonusMode_ != 0) {
        dict_.LoadCourse(static_cast<int32_t>(std::floor(platform::Random::Next() * 7)));
        NextBonusWord();
        bonus_.X = kBonusStartX;
        bonus_.Y = 200;
        bonus_.VX = -4;
        bonus_.OnScreen = true;
    } else {
        // No bonus word this game: nothing of an earlier one stays on the screen.
        bonus_.Word.clear();
        bonus_.TypedPart.clear();
        bonus_.RestPart.clear();
        bonus_.Typed = 0;
        bonus_.OnScreen = false;
    }
    score_ = 0;
    levelTimerMs_ = kLevelMs;
    levelMessage_.clear();
    shipX_ = 400;
    shipVX_ = 1;
    shipY_ = kShipY;
    energy_ = kMaxEnergy;
    for (Missile& missile : missiles_) missile = Missile{};
    for (Blast& blast : blasts_) blast = Blast{};
    for (int32_t i = 0; i < kEnemies; ++i) {
        Enemy& enemy = enemies_[static_cast<size_t>(i)];
        enemy.Damage = 10;
        enemy.Points = 1500;
        enemy.SwayVX = 0;
        enemy.Frame = enemy.Tick = 0;
        enemy.Letter = DrawLetter(enemy.Letter);
        enemy.Alive = true;
        if (i < 7) {
            enemy.FallSpeed = enemySpeed_;
            enemy.Sways = 1;
            enemy.Kind = 0;
            enemy.X = static_cast<float>(i % 2 * 800);
            enemy.Y = static_cast<float>(-70 * i);
        } else {
            enemy.FallSpeed = 1;
            enemy.Sways = 0;
            enemy.Kind = 1;
            // Where a big one comes back in after escaping: wholly on the screen, its letter seen.
            enemy.X = (std::floor(Draw() * 9) + 1) * static_cast<float>(EnemyKind(1).Width);
            enemy.Y = static_cast<float>(-100 * i);
        }
    }
}

void SpaceField::NextBonusWord() {
    bonus_.Word = RandomWord(dict_);
    bonus_.Typed = 0;
    bonus_.TypedPart.clear();
    bonus_.RestPart = bonus_.Word;
}

uint32_t SpaceField::Tick(int32_t elapsedMs) {
    platform::Random::SeedFromClock();
    scenery_.Tick();
    MoveShip();
    uint32_t effects = 0;
    for (int32_t i = 0; i < enemyCount_; ++i) effects |= MoveEnemy(i);
    if (bonusMode_ != 0) effects |= MoveBonusWord();
    for (int32_t i = 0; i < enemyCount_; ++i) effects |= MoveMissile(i);
    for (int32_t i = 0; i < enemyCount_; ++i) MoveBlast(i);
    return effects | CountDownLevel(elapsedMs);
}

void SpaceField::MoveShip() {
    shipX_ += shipVX_;
    if (shipX_ > 720) {
        shipVX_ = -2.4F;
    } else if (shipX_ <= 10) {
        shipVX_ = 2.4F;
    }
    Animate(shipAnimation_, ShipKind());
}

uint32_t SpaceField::MoveEnemy(int32_t i) {
    Enemy& enemy = enemies_[static_cast<size_t>(i)];
    if (!enemy.Alive) return 0;
    const SpriteKind& kind = EnemyKind(enemy.Kind);
    uint32_t effects = 0;
    enemy.Y += enemy.FallSpeed;
    if (enemy.Y > kScreenBottom) {
        // Escaped: back to the top with a new letter.
        enemy.Y = static_cast<float>(-(i * kind.Height));
        enemy.X = enemy.Kind == 1 ? (std::floor(Draw() * 9) + 1) * static_cast<float>(kind.Width)
                                  : static_cast<float>(i % 2 * 800);
        enemy.SwayVX = 0;
        enemy.Letter = DrawLetter(enemy.Letter);
        enemy.Frame = 0;
        effects |= kPlaneOut;
        missiles_[static_cast<size_t>(i)].Active = false;
    }
    if (enemy.Sways != 0) {
        enemy.SwayVX = std::clamp(enemy.SwayVX + (enemy.X >= 350 ? -0.1F : 0.1F), -kMaxSway, kMaxSway);
        enemy.X += enemy.SwayVX;
    }
    Animate(enemy, kind);
    if (Overlap(platform::Round(enemy.X), platform::Round(enemy.Y), kind.Width, kind.Height, platform::Round(shipX_),
                platform::Round(shipY_), kShipWidth, kShipHeight)) {
        missiles_[static_cast<size_t>(i)].Active = false;
        Explode(i);
        energy_ -= enemy.Damage;
    }
    return effects;
}

void SpaceField::Explode(int32_t i) {
    Enemy& enemy = enemies_[static_cast<size_t>(i)];
    const SpriteKind& kind = EnemyKind(enemy.Kind);
    Blast& blast = blasts_[static_cast<size_t>(i)];
    blast.X = enemy.X + static_cast<float>((kind.Width - kBlastWidth) / 2);
    blast.Y = enemy.Y + static_cast<float>((kind.Height - kBlastHeight) / 2);
    blast.Active = true;
    enemy.Y = kScreenBottom;
    enemy.Alive = false;
}

uint32_t SpaceField::MoveBonusWord() {
    bonus_.X += bonus_.VX;
    if (bonus_.X >= 0 && bonus_.X <= kBonusRight) {
        bonus_.OnScreen = true;
        return bonus_.X == kBonusRight ? kWordOut : 0;
    }
    bonus_.OnScreen = false;
    if (bonus_.X >= kBonusGone) return 0;
    bonus_.X = kBonusStartX;
    // Below the status bar and above the bottom, as after a typed word: a word flying above the
    // screen's top edge could be typed but never seen.
    bonus_.Y = Draw() * 500 + 50;
    NextBonusWord();
    return kWordOut;
}

uint32_t SpaceField::MoveMissile(int32_t i) {
    Missile& missile = missiles_[static_cast<size_t>(i)];
    if (!missile.Active) return 0;
    const Enemy& enemy = enemies_[static_cast<size_t>(i)];
    const SpriteKind& kind = EnemyKind(enemy.Kind);
    const auto w = static_cast<float>(missileKind_.Width / 2);
    const auto h = static_cast<float>(missileKind_.Height / 2);
    const auto halfWidth = static_cast<float>(kind.Width / 2);
    missile.VY = h + enemy.Y > missile.Y ? std::min(missile.VY + 0.8F, kMaxMissileSpeed)
                                         : std::max(missile.VY - 0.4F, -kMaxMissileSpeed);
    missile.Y += missile.VY;
    missile.VX = enemy.X + w > missile.X - halfWidth ? std::min(missile.VX + 0.8F, kMaxMissileSpeed)
                                                     : std::max(missile.VX - 0.8F, -kMaxMissileSpeed);
    missile.X += missile.VX;
    uint32_t effects = 0;
    if (enemy.X < missile.X && missile.X < enemy.X + static_cast<float>(kind.Width) && enemy.Y < missile.Y &&
        missile.Y < enemy.Y + static_cast<float>(kind.Height)) {
        missile.Active = false;
        missile.VX = missile.VY = 0;
        const int32_t points = enemy.Points;
        Explode(i);
        AddScore(points);
        effects |= kBlast;
    }
    Animate(missile, missileKind_);
    return effects;
}

void SpaceField::MoveBlast(int32_t i) {
    Blast& blast = blasts_[static_cast<size_t>(i)];
    if (!blast.Active) return;
    blast.Y += blast.DriftY;
    if (!AdvanceAnimation(blast, blastKind_)) return;
    // The enemy comes back: it still stands at the bottom, so the next step sends it to the top.
    blast.Frame = 0;
    blast.Active = false;
    enemies_[static_cast<size_t>(i)].Alive = true;
}

uint32_t SpaceField::CountDownLevel(int32_t elapsedMs) {
    const int64_t left = int64_t{levelTimerMs_} - elapsedMs;
    if (left > 0) {
        levelTimerMs_ = static_cast<int32_t>(std::min<int64_t>(left, kLevelMs));
        if (levelTimerMs_ <= kMessageMs) levelMessage_.clear();
        return 0;
    }
    levelMessage_.assign(kLevelUpText);
    levelTimerMs_ = kLevelMs;
    enemyCount_ = std::min(enemyCount_ + 1, kEnemies);
    enemySpeed_ += 0.4F;
    return kUpgrade;
}

uint32_t SpaceField::Key(int32_t keyCode) {
    const size_t typed = static_cast<size_t>(std::max(bonus_.Typed, 0));
    if (bonusMode_ != 0 && typed < bonus_.Word.size() && Upper(bonus_.Word[typed]) == keyCode && bonus_.X > 0 &&
        bonus_.X < kBonusRight) {
        bonus_.Typed = static_cast<int32_t>(typed + 1);
        bonus_.TypedPart.assign(bonus_.Word, 0, typed + 1);
        bonus_.RestPart.assign(bonus_.Word, typed + 1);
        if (typed + 1 >= bonus_.Word.size()) {
            energy_ = std::min(energy_ + kBonusEnergy, kMaxEnergy);
            NextBonusWord();
            bonus_.X = kBonusStartX;
            bonus_.Y = Draw() * 500 + 50;
        }
        return 0;
    }
    for (int32_t i = 0; i < enemyCount_; ++i) {
        const Enemy& enemy = enemies_[static_cast<size_t>(i)];
        Missile& missile = missiles_[static_cast<size_t>(i)];
        if (missile.Active || !enemy.Alive || enemy.Letter.empty() || enemy.Letter[0] != keyCode) continue;
        missile.VX = missile.VY = 0;
        missile.Active = true;
        missile.X = shipX_ + 35;
        missile.Y = shipY_;
        return kShoot;
    }
    AddScore(-kShotPenalty);
    ++missedKeys_;
    return 0;
}

void SpaceField::AddScore(int32_t points) {
    // The score saturates instead of wrapping around.
    const int64_t sum = int64_t{score_} + points;
    score_ = static_cast<int32_t>(
        std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

void SpaceField::StoreDifficulty(SettingsRecord& settings) const {
    int32_t speed = platform::Round((enemySpeed_ - 0.4F) * 2.5F);
    speed = std::min(speed, 10);
    if (speed < 1) speed = 3;
    settings.Field[kSpaceSpeed] = speed;
    settings.Field[kSpaceCount] = enemyCount_ >= 1 && enemyCount_ <= kEnemies ? enemyCount_ : 3;
    settings.Field[kSpaceBonus] = bonusMode_;
}
