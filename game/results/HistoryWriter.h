#pragma once
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "results/GameResult.h"

namespace results {

class HistoryStore;

// Writes results into the history file on a thread of its own, so a frame never waits for the
// disk. A result that cannot be written (damaged, locked or full database) is dropped with one
// warning line on standard error; a damaged file is moved aside and the next result starts a
// new one.
class HistoryWriter {
public:
    explicit HistoryWriter(std::string path);
    // Writes what is still queued, then ends the thread.
    ~HistoryWriter();
    HistoryWriter(const HistoryWriter&) = delete;
    HistoryWriter& operator=(const HistoryWriter&) = delete;

    void Add(GameResult result);
    // The last result added turned out otherwise: its row takes `result`'s outcome (a row that
    // could not be written is written now, with it).
    void CorrectLast(GameResult result);
    // Waits until every result handed over so far is written or dropped (tests, shutdown).
    void Drain();

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

    std::string path_;
    std::unique_ptr<HistoryStore> store_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Entry> queue_;
    int64_t lastId_ = -1;  // the row of the last result written, while the file stays open
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace results
