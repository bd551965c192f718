#include "results/ResultBook.h"

#include <memory>
#include <utility>

#include "results/HistoryWriter.h"

namespace results {

namespace {

std::unique_ptr<HistoryWriter> g_writer;
std::string g_path;
GameResult g_last;

}  // namespace

void ResultBook::Open(const std::string& historyPath) {
    Close();
    g_path = historyPath;
    g_writer = std::make_unique<HistoryWriter>(historyPath);
}

void ResultBook::Close() {
    g_writer.reset();
    g_path.clear();
}

const GameResult& ResultBook::Record(GameResult result) {
    g_last = std::move(result);
    if (g_writer) g_writer->Add(g_last);
    return g_last;
}

const GameResult& ResultBook::CorrectLastOutcome(const std::string& outcome) {
    g_last.outcome = outcome;
    if (g_writer) g_writer->CorrectLast(g_last);
    return g_last;
}

void ResultBook::Drain() {
    if (g_writer) g_writer->Drain();
}

const std::string& ResultBook::HistoryPath() { return g_path; }

}  // namespace results
