#include "results/ResultBook.h"

#include <memory>
#include <utility>

#include "platform/CodePage.h"
#include "platform/MessageBox.h"
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

void ResultBook::Drain(std::chrono::milliseconds most) {
    if (g_writer) g_writer->Drain(most);
}

void ResultBook::TellLostResults() {
    if (!g_writer) return;
    const std::string why = g_writer->TakeLoss();
    if (why.empty()) return;
    platform::ShowMessageBox(
        u"成绩无法保存：" + platform::FromUtf8OrAnsi(g_path) + u"\r\n" + platform::FromUtf8OrAnsi(why),
        platform::ApplicationTitle(), platform::MessageIcon::Error);
}

const std::string& ResultBook::HistoryPath() { return g_path; }

}  // namespace results
