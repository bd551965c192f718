#include "wordgames/FrogRiver.h"

#include <cmath>

#include "platform/KeyMap.h"
#include "platform/Random.h"
#include "wordgames/FrogWordSource.h"

namespace {

constexpr int32_t kMaxWidth = 100;
constexpr size_t kWordRoom = 64;  // words are narrow, so this holds any of them

// What a word has of the drawing rules, weighed by how much a missing one hurts the round:
// without a first letter it cannot be typed at all, a shared first letter makes one of the
// leaves unreachable, a one-letter word jumps at once, and a wide word runs past its leaf.
constexpr int32_t kHasLetter = 8;
constexpr int32_t kOwnFirstLetter = 4;
constexpr int32_t kTwoLetters = 2;
constexpr int32_t kNarrow = 1;
constexpr int32_t kFits = kHasLetter + kOwnFirstLetter + kTwoLetters + kNarrow;

int32_t RowStart(int32_t number) {
    // Rounds toward minus infinity, so the near bank's row starts at -3.
    const int32_t row = number >= 0 ? number / 3 : (number - 2) / 3;
    return row * 3;
}

}  // namespace

FrogRiver::FrogRiver() {
    for (Leaf& leaf : leaves_) leaf.Word.reserve(kWordRoom);
    typedPart_.reserve(kWordRoom);
    restPart_.reserve(kWordRoom);
    Leaf& nearBank = LeafAt(kNearBank);
    nearBank.X = 400;
    nearBank.Y = 460;
    nearBank.Done = true;
    Leaf& farBank = LeafAt(kFarBank);
    farBank.X = 425;
    farBank.Y = 90;
    farBank.DeltaX = 0;
    constexpr std::array<float, 3> kRowY{380, 295, 210};
    constexpr std::array<float, 3> kColumnX{0, 315, 630};
    for (int32_t number = 0; number < 9; ++number) {
        LeafAt(number).Y = kRowY[number / 3];
        LeafAt(number).X = kColumnX[number % 3];
    }
}

void FrogRiver::Start(int32_t level, FrogWordSource& words) {
    crossingsLeft_ = kCrossings;
    speed_ = static_cast<float>(level + 1) * 0.4F;
    NewLayout(words);
}

void FrogRiver::NewLayout(FrogWordSource& words) {
    targetLeaf_ = frogLeaf_ = kNearBank;
    for (int32_t number = 0; number < 9; ++number) LeafAt(number).DeltaX = number / 3 == 1 ? speed_ : -speed_;
    words.BeginMeasure();
    if (words.Count() > 0) {
        platform::Random::SeedFromClock();
        for (int32_t number = 0; number <= kFarBank; ++number) PickWord(number, words);
    }
    words.EndMeasure();
}

int32_t FrogRiver::Fit(int32_t number, const std::u16string& word, FrogWordSource& words, int32_t& width) const {
    width = -1;
    if (word.empty()) return 0;
    int32_t fit = kHasLetter;
    bool own = true;
    if (number < kFarBank) {
        for (int32_t other = RowStart(number); other < number; ++other)
            own = own && (At(other).Word.empty() || At(other).Word[0] != word[0]);
    }
    if (own) fit += kOwnFirstLetter;
    if (word.size() >= 2) fit += kTwoLetters;
    if (fit == kFits - kNarrow) {
        width = words.Width(word);
        if (width < kMaxWidth) fit += kNarrow;
    }
    return fit;
}

void FrogRiver::PickWord(int32_t number, FrogWordSource& words) {
    const int32_t count = words.Count();
    int32_t bestFit = -1;
    int32_t bestIndex = 0;
    int32_t bestWidth = -1;
    auto consider = [&](int32_t index) {
        const std::u16string word = words.WordAt(index);
        int32_t width = -1;
        const int32_t fit = Fit(number, word, words, width);
        if (fit > bestFit) {
            bestFit = fit;
            bestIndex = index;
            bestWidth = width;
        }
        return fit == kFits;
    };
    // A bounded number of random draws; a course that lacks fitting words is then searched once
    // in order from a random place, and the best word seen is taken.
    bool found = false;
    for (int32_t draw = 0; draw < kRandomDraws && !found; ++draw) {
        found = consider(static_cast<int32_t>(std::floor(platform::Random::Next() * count)));
    }
    const int32_t from = static_cast<int32_t>(std::floor(platform::Random::Next() * count));
    for (int32_t step = 0; step < count && !found; ++step) found = consider((from + step) % count);

    Leaf& leaf = LeafAt(number);
    leaf.Word = words.WordAt(bestIndex);
    if (bestWidth < 0) bestWidth = leaf.Word.empty() ? 0 : words.Width(leaf.Word);
    leaf.TextOffset = (105 - bestWidth) / 2 + 21;
    leaf.Done = false;
}

FrogRiver::Event FrogRiver::KeyPress(int32_t code, FrogWordSource& words) {
    if (code == platform::kKeyEsc) {
        CancelWord();
        return Event::kNone;
    }
    if (targetLeaf_ == frogLeaf_) {
        const int32_t next = RowStart(frogLeaf_) + 3;
        const int32_t last = next >= kFarBank ? kFarBank : next + 2;
        for (int32_t number = next >= kFarBank ? kFarBank : next; number <= last; ++number) {
            const std::u16string& word = At(number).Word;
            if (!word.empty() && word[0] == code) {
                Choose(number);
                break;
            }
        }
        // A one-letter word is done with its first letter.
        if (targetLeaf_ == frogLeaf_ || !restPart_.empty()) return Event::kNone;
    } else {
        if (restPart_.empty() || restPart_[0] != code) return Event::kNone;
        typedPart_.push_back(restPart_[0]);
        restPart_.erase(0, 1);
        if (!restPart_.empty()) return Event::kNone;
    }
    Jump();
    if (frogLeaf_ == kFarBank) {
        --crossingsLeft_;
        NewLayout(words);
    }
    return Event::kJumped;
}

void FrogRiver::Choose(int32_t number) {
    targetLeaf_ = number;
    const std::u16string& word = At(number).Word;
    // Fresh strings moved in: GCC 12 at -O3 misreads substring assigns here as overlapping copies.
    const auto split = word.begin() + (word.empty() ? 0 : 1);
    typedPart_ = std::u16string(word.begin(), split);
    restPart_ = std::u16string(split, word.end());
}

void FrogRiver::Jump() {
    LeafAt(targetLeaf_).Done = true;
    frogLeaf_ = targetLeaf_;
}

void FrogRiver::CancelWord() {
    if (targetLeaf_ == frogLeaf_) return;
    targetLeaf_ = frogLeaf_;
    typedPart_ = At(frogLeaf_).Word;
    restPart_.clear();
}

FrogRiver::Event FrogRiver::Tick() {
    if (++animTick_ > 25) {
        animTick_ = 0;
        animPhase_ = !animPhase_;
    }
    Event event = Event::kNone;
    for (int32_t number = 0; number <= kFarBank; ++number) {
        Leaf& leaf = LeafAt(number);
        leaf.X += leaf.DeltaX;
        bool wrapped = true;
        if (leaf.X < kLeftEdge) {
            leaf.X = kRightEdge;
        } else if (leaf.X > kRightEdge) {
            leaf.X = kLeftEdge;
        } else {
            wrapped = false;
        }
        if (!wrapped) continue;
        if (number == frogLeaf_) {
            FallBack();
            event = Event::kFellBack;
        } else if (number == targetLeaf_) {
            CancelWord();
        }
    }
    return event;
}

void FrogRiver::FallBack() {
    CancelWord();
    const int32_t row = RowStart(frogLeaf_);
    if (row < kFarBank) {
        for (int32_t number = row; number < row + 3; ++number) LeafAt(number).Done = false;
    }
    const int32_t below = row - 3;
    if (below < 0) {
        frogLeaf_ = targetLeaf_ = kNearBank;
        return;
    }
    int32_t landing = below;
    for (int32_t number = below + 1; number < below + 3; ++number) {
        if (At(number).X * At(number).DeltaX < At(landing).X * At(landing).DeltaX) landing = number;
    }
    frogLeaf_ = targetLeaf_ = landing;
    typedPart_ = At(landing).Word;
    restPart_.clear();
}
