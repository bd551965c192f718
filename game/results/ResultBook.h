#pragma once
#include <chrono>
#include <string>

#include "results/GameResult.h"

namespace results {

// The history's file name in the player's data folder.
inline constexpr const char* kHistoryFileName = "history.sqlite";

// Where the games hand in their finished races and rounds: the program opens it on the history
// file at start-up and closes it at the end; a result recorded while it is closed is only shown.
class ResultBook {
public:
    static void Open(const std::string& historyPath);
    // Writes what is queued and closes the history.
    static void Close();
    // Hands the result to the history (written on another thread) and returns it.
    static const GameResult& Record(GameResult result);
    // The result recorded last ended otherwise after all (both sides of a network race finished
    // at once): its outcome becomes `outcome`, in the history too. Returns it.
    static const GameResult& CorrectLastOutcome(const std::string& outcome);
    // Waits until every recorded result is written or dropped; the second at most `most`.
    static void Drain();
    static void Drain(std::chrono::milliseconds most);
    // Tells the player, once a run, that a result could not be kept in the history and why.
    // The frame loop asks at every frame of a still screen; nothing is shown until a result was
    // dropped.
    static void TellLostResults();
    // The history file ("" while closed).
    static const std::string& HistoryPath();
};

}  // namespace results
