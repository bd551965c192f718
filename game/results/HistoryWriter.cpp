#include "results/HistoryWriter.h"

#include <cstdio>
#include <system_error>
#include <utility>

#include "platform/BinaryFile.h"
#include "platform/SqlDatabase.h"
#include "results/HistoryStore.h"

namespace results {

HistoryWriter::HistoryWriter(std::string path, std::chrono::milliseconds patience)
    : path_(std::move(path)), patience_(patience) {
    try {
        thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        // No thread to spare: each result is written as it is handed in.
    }
}

HistoryWriter::~HistoryWriter() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        // What is still queued then waits no more than a moment for another program's lock:
        // the program is ending.
        stopping_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
}

void HistoryWriter::Add(GameResult result) { Queue(Entry{std::move(result), false}); }

void HistoryWriter::CorrectLast(GameResult result) { Queue(Entry{std::move(result), true}); }

void HistoryWriter::Queue(Entry entry) {
    if (!thread_.joinable()) {
        Write(entry);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(std::move(entry));
    }
    wake_.notify_one();
}

void HistoryWriter::Drain() {
    std::unique_lock<std::mutex> lock(mutex_);
    idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

bool HistoryWriter::Drain(std::chrono::milliseconds most) {
    std::unique_lock<std::mutex> lock(mutex_);
    return idle_.wait_for(lock, most, [this] { return queue_.empty() && !busy_; });
}

void HistoryWriter::Run() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (queue_.empty()) break;  // stopping with nothing left
        Entry entry = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        Write(entry);
        lock.lock();
        busy_ = false;
        if (queue_.empty()) idle_.notify_all();
    }
    store_.reset();
}

void HistoryWriter::Write(const Entry& entry) {
    std::string why;
    if (TryWrite(entry, why)) return;
    const bool damaged = store_ && store_->Damaged();
    const bool busy = store_ ? store_->Busy() : openFault_ == platform::DbFault::Busy;
    store_.reset();
    if (damaged) {
        // Kept for whoever wants to look at it; the result goes into a new file (a correction as
        // a row of its own: the row it corrected is in the damaged file).
        lastId_ = -1;
        if (HistoryStore::MoveDamagedAside(path_, why) && TryWrite(Entry{entry.result, false}, why)) return;
    } else if (!busy && !entry.correctsLast && TryWrite(entry, why)) {
        // A file replaced or a disk emptied under the open file: a fresh open writes it. (A
        // correction is not tried again: its row is known by an id in the file as it was.)
        return;
    }
    lastId_ = -1;
    store_.reset();  // opened again for the next result: the lock or the full disk may be gone
    Lose(why);
}

void HistoryWriter::Lose(const std::string& why) {
    std::fprintf(stderr, "history: the result was not kept in %s (%s)\n", path_.c_str(), why.c_str());
    std::lock_guard<std::mutex> lock(mutex_);
    if (loss_.empty()) loss_ = why.empty() ? "unknown reason" : why;
}

std::string HistoryWriter::TakeLoss() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (toldLoss_ || loss_.empty()) return "";
    toldLoss_ = true;
    return loss_;
}

bool HistoryWriter::TryWrite(const Entry& entry, std::string& why) {
    if (entry.correctsLast && store_ && lastId_ >= 0) return store_->SetOutcome(lastId_, entry.result.outcome, why);
    if (!store_) store_ = HistoryStore::Open(path_, true, why, platform::LockWait{patience_, &stopping_}, &openFault_);
    return store_ && store_->Append(entry.result, why, &lastId_);
}

}  // namespace results
