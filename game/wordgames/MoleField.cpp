#include "wordgames/MoleField.h"

#include <cmath>

#include "platform/Random.h"
#include "wordgames/LetterPool.h"

namespace {

constexpr int32_t kStepFrames = 15;  // one frame of the appearing or hiding strip
constexpr int32_t kUnitFrames = 50;  // one stay unit lasts this plus one frame
constexpr int32_t kHitFrames = 20;

int32_t Draw(int32_t choices) {
    return static_cast<int32_t>(std::floor(platform::Random::Next() * static_cast<double>(choices)));
}

// Counts a frame of the hole's current step; true (nothing counted) once the step is over.
bool StepOver(MoleField::Hole& hole) {
    if (hole.Timer <= 0) return true;
    --hole.Timer;
    return false;
}

// Starts the appearing or the running-off strip at its first frame.
void StartStrip(MoleField::Hole& hole, MoleField::State state) {
    hole.State = state;
    hole.Frame = 0;
    hole.Timer = kStepFrames;
}

}  // namespace

void MoleField::Start(int32_t minutes, int32_t interval, int32_t stay) {
    caught_ = 0;
    keystrokes_ = 0;
    radishes_ = kRadishes;
    appearDelay_ = interval * 50;
    stayUnits_ = stay;
    timeLeftMs_ = minutes * 60000;
    for (int i = 0; i < kHoles; ++i) {
        PlaceMole(i);
        holes_[i].Timer = i * appearDelay_;
    }
}

void MoleField::End() {
    timeLeftMs_ = 0;
    caught_ = 0;
    keystrokes_ = 0;
}

void MoleField::PlaceMole(int index) {
    int32_t x = 0, y = 0;
    bool taken = true;
    while (taken) {
        x = Draw(5) * 130 + 75;
        y = Draw(2) * 154 + 160;
        taken = false;
        for (const Hole& other : holes_) taken = taken || (other.X == x && other.Y == y);
    }
    Hole& hole = holes_[index];
    hole.X = x;
    hole.Y = y;
    hole.Letter = DrawLetter(hole.Letter);
    hole.State = kWaiting;
    hole.Timer = appearDelay_;
}

MoleField::Sounds MoleField::Tick(int32_t elapsedMs) {
    Sounds sounds;
    timeLeftMs_ -= elapsedMs;
    for (int i = 0; i < kHoles; ++i) {
        Hole& hole = holes_[i];
        switch (hole.State) {
        case kWaiting:
            if (StepOver(hole)) StartStrip(hole, kAppearing);
            break;
        case kAppearing:
            if (!StepOver(hole)) break;
            ++sounds.out;
            hole.Timer = kStepFrames;
            if (++hole.Frame == 2) {
                hole.State = kUp;
                hole.StayLeft = static_cast<uint8_t>(stayUnits_ & 0xFF);
                hole.Timer = kUnitFrames;
            }
            break;
        case kUp:
            if (hole.StayLeft > 0 && StepOver(hole)) {
                hole.Timer = kUnitFrames;
                --hole.StayLeft;
            }
            if (hole.StayLeft == 0) StartStrip(hole, kRunningOff);
            break;
        case kRunningOff:
            if (hole.Timer == kStepFrames) ++sounds.away;
            if (!StepOver(hole)) break;
            hole.Timer = kStepFrames;
            if (++hole.Frame == 2) {
                PlaceMole(i);
                --radishes_;
            }
            break;
        case kHit:
            if (StepOver(hole)) PlaceMole(i);
            break;
        default:
            break;
        }
    }
    return sounds;
}

bool MoleField::Key(int32_t keyCode) {
    ++keystrokes_;
    for (Hole& hole : holes_) {
        if (hole.State == kUp && !hole.Letter.empty() && hole.Letter[0] == keyCode) {
            hole.State = kHit;
            hole.Timer = kHitFrames;
            ++caught_;
            return true;
        }
    }
    return false;
}

MoleField::Outcome MoleField::Result() const {
    if (radishes_ < 1) return Outcome::kLost;
    if (timeLeftMs_ < 1) return Outcome::kPassed;
    return Outcome::kRunning;
}

int32_t MoleField::HitRatePercent() const {
    if (keystrokes_ <= 0) return -1;
    return static_cast<int32_t>(std::lround(100.0 * caught_ / keystrokes_));
}

void MoleField::MakeHarder(SettingsRecord& settings) {
    int32_t& interval = settings.Field[kMoleInterval];
    int32_t& stay = settings.Field[kMoleStay];
    if (interval - 1 >= 0) {
        --interval;
    } else {
        interval = 0;
        if (stay - 1 >= 1) --stay;
    }
}
