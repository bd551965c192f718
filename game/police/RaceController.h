#pragma once
#include <cstdint>

#include "police/PoliceRace.h"
#include "results/GameResult.h"
#include "results/Tally.h"

class PoliceSound;
class RaceTextList;
class TextFolder;

// The race screen's play, the same in a single player's game and a network game: starting a
// race, the keys typed into it with their sound, count and wrong-key mark, the frame step with
// the sounds of a turn-around, and the end of a race with its sound and figures. What a key or
// a catch means for the game is left to the caller.
class RaceController {
public:
    RaceController(const PoliceSound& sound, const RaceTextList& textList, const TextFolder& textFolder);

    PoliceRace& Race() { return race_; }
    const PoliceRace& Race() const { return race_; }

    // A new race: the other side's entry sound, the runners placed, nothing counted yet. In a
    // network game the opponent's speed comes from the other side.
    void Start(bool network);
    // A typed key (not Esc or Enter): its sound, the race's answer to it, the key counted
    // against the character it was meant for; a wrong key is marked for a moment.
    PoliceRace::KeyResult Type(int32_t keyAscii);
    // One frame of the race; a turn-around sounds the thief's brake and turn.
    PoliceRace::StepResult Step();
    // A result screen shown: the catch or the get-away sounds, and with `record` (the screen
    // follows a race) the race's figures go to the history under the chosen text's name.
    void Finish(bool won, bool record);
    // The race recorded as won ended lost after all: the other side finished in the same moment.
    void CorrectToLost();
    // The race stands still (true) and goes on (false): the time between is no typing time.
    void HoldTypingTime(bool hold);
    void SkipTypingTime(uint32_t fromMs, uint32_t toMs) { tally_.Skip(fromMs, toMs); }

    // True while the next character of the typing window shows a wrong key (150 ms after it).
    bool ShowsWrongKey() const;
    // The figures of the last race ended.
    const results::GameResult& LastResult() const { return result_; }

private:
    const PoliceSound& sound_;
    const RaceTextList& textList_;
    const TextFolder& textFolder_;
    PoliceRace race_;
    // What the player typed in the current race, and the figures of the last one.
    results::Tally tally_;
    results::GameResult result_;
    // When the last wrong key was pressed (clock milliseconds), while its mark is shown.
    uint32_t wrongKeyAt_ = 0;
    bool wrongKeyShown_ = false;
    // Whether the last race's result went into the history.
    bool recorded_ = false;
};
