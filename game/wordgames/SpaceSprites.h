#pragma once
#include <cstdint>
#include <string>

// The plain records of the space shooter's play: what each sprite kind looks like, the enemies,
// the missiles and blasts that belong to them, and the bonus word.

// Frames lie three per row: frame f at column f mod 3, row f div 3.
struct SpriteKind {
    int32_t Width = 0;
    int32_t Height = 0;
    uint8_t Frames = 1;
    uint8_t TicksPerFrame = 1;
};

struct Enemy {
    std::u16string Letter;
    float X = 0, Y = 0;
    float SwayVX = 0;
    float FallSpeed = 0;
    int32_t Points = 1500;
    bool Alive = false;
    uint8_t Sways = 0;
    uint8_t Damage = 10;
    uint8_t Kind = 0;
    uint8_t Frame = 0, Tick = 0;
};

struct Missile {
    float X = 0, Y = 0;
    bool Active = false;
    float VX = 0, VY = 0;
    uint8_t Frame = 0, Tick = 0;
    uint8_t Kind = 0;
};

struct Blast {
    float X = 0, Y = 0;
    float DriftY = 1.0F;
    bool Active = false;
    uint8_t Kind = 0;
    uint8_t Frame = 0, Tick = 0;
};

struct BonusWord {
    float X = 0, Y = 0, VX = 0;
    std::u16string Word;
    int32_t Typed = 0;
    std::u16string TypedPart;
    std::u16string RestPart;
    bool OnScreen = false;
};

// One frame of a sprite's animation: the tick counts up to the kind's ticks per frame, then the
// next frame follows. True when the frame number reached the frame count (the caller decides
// whether that starts again at 0 or ends the sprite).
template <typename Sprite>
bool AdvanceAnimation(Sprite& sprite, const SpriteKind& kind) {
    if (sprite.Tick < kind.TicksPerFrame) {
        ++sprite.Tick;
        return false;
    }
    sprite.Tick = 0;
    ++sprite.Frame;
    return sprite.Frame >= kind.Frames;
}

// The usual rule: a finished cycle starts again at frame 0.
template <typename Sprite>
void Animate(Sprite& sprite, const SpriteKind& kind) {
    if (AdvanceAnimation(sprite, kind)) sprite.Frame = 0;
}
