#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class FrogWordSource;

// The rules of the frog game: three rows of three drifting leaves between the near and the far
// bank, each with a word; typing a word of the next row makes the frog jump onto that leaf.
// Leaf numbers run from -1 (near bank) through 0..8 (lowest row first) to 9 (far bank).
class FrogRiver {
public:
    static constexpr int32_t kNearBank = -1;
    static constexpr int32_t kFarBank = 9;
    // The longest word a leaf can show: its 148 pixels hold no more letters of the game font.
    static constexpr size_t kLeafLetters = 30;
    static constexpr int32_t kCrossings = 4;  // crossings left at the start; below 0 passes
    static constexpr float kLeftEdge = -148.0F;
    static constexpr float kRightEdge = 800.0F;
    // Random draws for one leaf's word before the dictionary is searched in order.
    static constexpr int32_t kRandomDraws = 64;

    struct Leaf {
        float X = 0, Y = 0;
        float DeltaX = 0;
        bool Done = false;  // the frog jumped onto it during this crossing
        int32_t TextOffset = 0;
        std::u16string Word;
    };

    enum class Event { kNone, kJumped, kFellBack };

    FrogRiver();

    // A new round at `level`: five crossings to go, leaves drifting (level + 1) × 0.4 pixels a
    // frame, and a fresh layout. The leaves keep drifting from where they were.
    void Start(int32_t level, FrogWordSource& words);
    // A typed character, compared by its exact code; Esc gives up the word in progress.
    Event KeyPress(int32_t code, FrogWordSource& words);
    // One frame: the animation and the drift of every leaf.
    Event Tick();
    bool Passed() const { return crossingsLeft_ < 0; }

    // A new crossing: the frog on the near bank and a new word on every leaf and the far bank.
    void NewLayout(FrogWordSource& words);

    const Leaf& At(int32_t number) const { return leaves_[number + 1]; }
    float Speed() const { return speed_; }
    int32_t CrossingsLeft() const { return crossingsLeft_; }
    int32_t FrogLeaf() const { return frogLeaf_; }
    int32_t TargetLeaf() const { return targetLeaf_; }
    const std::u16string& TypedPart() const { return typedPart_; }
    const std::u16string& RestPart() const { return restPart_; }
    bool AnimPhase() const { return animPhase_; }

    // Tests: place a leaf.
    Leaf& Edit(int32_t number) { return leaves_[number + 1]; }

private:
    Leaf& LeafAt(int32_t number) { return leaves_[number + 1]; }
    void PickWord(int32_t number, FrogWordSource& words);
    // How well a word fits leaf `number`; kFits when it meets every rule.
    int32_t Fit(int32_t number, const std::u16string& word, FrogWordSource& words, int32_t& width) const;
    void Choose(int32_t number);
    void Jump();
    void CancelWord();
    void FallBack();

    std::array<Leaf, 11> leaves_;
    float speed_ = 0.4F;
    int32_t crossingsLeft_ = kCrossings;
    int32_t frogLeaf_ = kNearBank;
    int32_t targetLeaf_ = kNearBank;
    std::u16string typedPart_;
    std::u16string restPart_;
    int32_t animTick_ = 0;
    bool animPhase_ = false;
};
