#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/SqlDatabase.h"
#include "results/GameResult.h"

namespace results {

class HistoryStore;

// Writes results into the history file on a thread of its own, so a frame never waits for the
// disk (with no thread to spare, each is written as it is handed in). A write waits up to
// `patience` for another program reading or writing the file (an export, a database browser),
// and no more than 200 ms once the writer is being destroyed.
// A damaged file is moved aside and the result starts a new one; after any other failure the
// file is opened afresh and the result tried once more (the file may have been replaced
// meanwhile). A result that still cannot be written is dropped with one warning line on
// standard error, and TakeLoss tells of the first one dropped.
class HistoryWriter {
public:
    static constexpr std::chrono::milliseconds kPatience{5000};

    explicit HistoryWriter(std::string path, std::chrono::milliseconds patience = kPatience);
    // Writes what is still queued, then ends the thread.
    ~HistoryWriter();
    HistoryWriter(const HistoryWriter&) = delete;
    HistoryWriter& operator=(const HistoryWriter&) = delete;

    void Add(GameResult result);
    // The last result added turned out otherwise: its row takes `result`'s outcome (a row that
    // could not be written is written now, with it).
    void CorrectLast(GameResult result);
    // Waits until every result handed over so far is written or dropped (tests, shutdown); the
    // second at most `most`, false when that was not enough.
    void Drain();
    bool Drain(std::chrono::milliseconds most);
    // Why the first result of this run was dropped, the first time it is asked; "" otherwise.
    std::string TakeLoss();

private:
    struct Entry {
        GameResult result;
        bool correctsLast = false;
    };

    void Queue(Entry entry);
    void Run();
    void Write(const Entry& entry);
    // Writes `entry` into the store, opening it first if need be.
    bool TryWrite(const Entry& entry, std::string& why);
    void Lose(const std::string& why);

    std::string path_;
    std::chrono::milliseconds patience_;
    std::unique_ptr<HistoryStore> store_;
    platform::DbFault openFault_ = platform::DbFault::None;  // of the last open that failed
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Entry> queue_;
    int64_t lastId_ = -1;  // the row of the last result written, while the file stays open
    bool busy_ = false;
    std::atomic<bool> stopping_{false};  // set under `mutex_`; read by a write waiting for a lock
    std::string loss_;
    bool toldLoss_ = false;
    std::thread thread_;
};

}  // namespace results
