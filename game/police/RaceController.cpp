#include "police/RaceController.h"

#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "police/PoliceSound.h"
#include "police/RaceTextList.h"
#include "results/ResultBook.h"

namespace {
constexpr int32_t kWrongKeyMs = 150;
}  // namespace

RaceController::RaceController(const PoliceSound& sound, const RaceTextList& textList, const TextFolder& textFolder)
    : sound_(sound), textList_(textList), textFolder_(textFolder) {}

void RaceController::Start(bool network) {
    sound_.Play(race_.LocalIsPolice() ? PoliceSound::kThiefEntry : PoliceSound::kPoliceEntry);
    race_.OpponentFromNetwork = network;
    race_.Start();
    wrongKeyShown_ = false;
    tally_.Reset();
}

PoliceRace::KeyResult RaceController::Type(int32_t keyAscii) {
    sound_.Play(PoliceSound::kType);
    const int32_t at = race_.Local().InputPos;
    const std::u16string& text = race_.Text.Text();
    const PoliceRace::KeyResult result = race_.Type(keyAscii);
    const uint32_t now = platform::Clock::Now();
    // The key after the whole text only ends the race (or starts the text again): it counts
    // neither way. Nor does a control key (Backspace, Tab): it types no character of any text,
    // and a miss of the next character would be charged to a key the player never missed.
    if (keyAscii >= 0x20 && at >= 0 && static_cast<size_t>(at) < text.size()) {
        // A police in a network race may have started the text again: the typing time goes on.
        tally_.GoOn(now, results::Tally::HoldReason::kTextDone);
        tally_.Count(text[static_cast<size_t>(at)], result != PoliceRace::KeyResult::Wrong, now);
        // The typing ends with the last character: the wait for the key that ends the race is
        // not typing time.
        if (static_cast<size_t>(race_.Local().InputPos) >= text.size())
            tally_.Hold(now, results::Tally::HoldReason::kTextDone);
    }
    // A wrong key changes nothing in the race; the next character shows it for a moment.
    wrongKeyShown_ = result == PoliceRace::KeyResult::Wrong;
    wrongKeyAt_ = now;
    return result;
}

PoliceRace::StepResult RaceController::Step() {
    const PoliceRace::StepResult result = race_.Step();
    if (result == PoliceRace::StepResult::Reversed) {
        sound_.Play(PoliceSound::kThiefBrake);
        sound_.Play(PoliceSound::kThiefTurn);
    }
    return result;
}

void RaceController::Finish(bool won, bool record) {
    recorded_ = false;
    if (record) {
        // The name of the text raced, where this side lists it.
        const std::string level = platform::ToUtf8(textList_.ChosenNameIfItHolds(textFolder_, race_.Text.Text()));
        results::GameResult result =
            results::GameResult::Of(tally_, platform::Clock::Now(), "race", level, won ? "won" : "lost");
        // A network race in which this side typed no key is no practice, and a peer can start and
        // end such races without end: it is shown, not kept in the history.
        recorded_ = !race_.OpponentFromNetwork || result.Keys() > 0;
        result_ = recorded_ ? results::ResultBook::Record(std::move(result)) : std::move(result);
    }
    // A police that wins and a thief that loses both end in a catch.
    sound_.Play(won == race_.LocalIsPolice() ? PoliceSound::kPoliceCatch : PoliceSound::kThiefAway);
}

void RaceController::HoldTypingTime(bool hold) { tally_.HoldWhileHidden(hold, platform::Clock::Now()); }

void RaceController::CorrectToLost() {
    if (recorded_) {
        result_ = results::ResultBook::CorrectLastOutcome("lost");
    } else {
        result_.outcome = "lost";
    }
}

bool RaceController::ShowsWrongKey() const {
    return wrongKeyShown_ && static_cast<int32_t>(platform::Clock::Now() - wrongKeyAt_) < kWrongKeyMs;
}
