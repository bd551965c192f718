#include "platform/ScriptRunner.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/Display.h"
#include "platform/MessageBoxWindow.h"
#include "platform/MessageQueue.h"
#include "platform/PictureLoader.h"

namespace platform {
namespace {

constexpr size_t kMaxScriptBytes = 4u << 20;
// A line is played up to this many bytes; the rest of it is reported and skipped.
constexpr size_t kMaxLineBytes = 64u << 10;
// A reported line is quoted up to this many characters.
constexpr size_t kQuotedChars = 80;

bool Continues(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The first kQuotedChars characters of `text`, and "..." when there is more.
std::string Quote(const std::string& text) {
    size_t end = 0;
    for (size_t chars = 0; end < text.size() && chars < kQuotedChars; ++chars) {
        ++end;
        while (end < text.size() && Continues(text[end])) ++end;
    }
    return end < text.size() ? text.substr(0, end) + "..." : text;
}
// After the script has asked the program to end, this many more frames are allowed before the
// runner gives up on a program that does not end.
constexpr uint32_t kFramesAfterEnd = 3000;
// How long `await` waits for its state, and how many states not yet awaited are kept.
constexpr int64_t kAwaitFrames = 60000 / ScriptRunner::kFrameMs;
constexpr size_t kMaxAnnounced = 256;

std::unique_ptr<ScriptRunner> g_runner;
bool g_reportsShown = true;

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

bool ParseInt(const std::string& s, int64_t& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(s.c_str(), &end, 10);
    if (end == nullptr || *end != '\0' || errno == ERANGE) return false;
    out = v;
    return true;
}

bool ParsePoint(std::istringstream& in, int32_t& x, int32_t& y) {
    std::string sx;
    std::string sy;
    int64_t vx = 0;
    int64_t vy = 0;
    if (!(in >> sx >> sy) || !ParseInt(sx, vx) || !ParseInt(sy, vy)) return false;
    x = static_cast<int32_t>(std::clamp<int64_t>(vx, 0, 799));
    y = static_cast<int32_t>(std::clamp<int64_t>(vy, 0, 599));
    return true;
}

Message Mouse(uint32_t message, int32_t x, int32_t y) {
    Message m;
    m.message = message;
    m.lParam = Message::MakeLParam(x, y);
    return m;
}

void Complain(size_t lineNumber, const std::string& line, const char* why) {
    ScriptRunner::Report(lineNumber, line, why);
}

}  // namespace

bool ScriptRunner::StartFromEnvironment() {
    const char* path = std::getenv("GLYPHOR_SCRIPT");
    if (path == nullptr || *path == '\0') return false;
    // A folder opens as a stream too, and reads as nothing: only a plain file is a script.
    std::error_code ec;
    const bool plainFile = std::filesystem::is_regular_file(path, ec);
    std::ifstream in;
    if (plainFile) in.open(path, std::ios::binary);
    if (!plainFile || !in) {
        std::fprintf(stderr, "cannot read the script %s: %s\n", path,
                     !std::filesystem::exists(path, ec) ? "no such file"
                     : !plainFile                       ? "not a plain file"
                                                        : "not readable");
        std::exit(2);
    }
    std::string text;
    text.resize(kMaxScriptBytes);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad()) {
        std::fprintf(stderr, "cannot read the script %s: not readable\n", path);
        std::exit(2);
    }
    text.resize(static_cast<size_t>(in.gcount()));
    Start(text);
    return true;
}

void ScriptRunner::Start(const std::string& text, uint32_t clockStart) {
    g_runner.reset(new ScriptRunner(text));
    Clock::UseVirtual(clockStart);
    MessageQueue::Instance().SetScriptHook([](uint32_t deadline) {
        if (g_runner) g_runner->Step(deadline);
    });
}

void ScriptRunner::Stop() {
    MessageQueue::Instance().SetScriptHook(nullptr);
    Clock::UseReal();
    g_runner.reset();
}

bool ScriptRunner::Active() { return g_runner != nullptr; }

bool ScriptRunner::DrawsMessageBoxes() { return g_runner != nullptr && g_runner->drawsBoxes_; }

void ScriptRunner::SetReportsShown(bool shown) { g_reportsShown = shown; }

void ScriptRunner::Report(size_t lineNumber, const std::string& text, const char* why) {
    if (!g_reportsShown) return;
    std::fprintf(stderr, "script line %zu: %s: %s\n", lineNumber, why, Quote(text).c_str());
    std::fflush(stderr);
}

void ScriptRunner::Announce(const std::string& state) {
    if (!g_runner) return;
    std::fprintf(stderr, "state: %s\n", state.c_str());
    std::fflush(stderr);
    auto& announced = g_runner->announced_;
    announced.push_back(state);
    if (announced.size() > kMaxAnnounced) announced.pop_front();
}

ScriptRunner::ScriptRunner(const std::string& text) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        size_t length = end - start;
        const bool cut = length > kMaxLineBytes;
        if (cut) {
            length = kMaxLineBytes;
            while (length > 0 && Continues(text[start + length])) --length;  // a whole character
        }
        lines_.push_back(text.substr(start, length));
        if (Trim(lines_.back()) == "boxes") drawsBoxes_ = true;
        cutLines_.push_back(cut);
        start = end + 1;
    }
}

void ScriptRunner::Step(uint32_t deadline) {
    auto& queue = MessageQueue::Instance();
    for (;;) {
        if (actions_.empty() && !ParseNextLine()) {
            EndOfScript(deadline);
            return;
        }
        Action& action = actions_.front();
        switch (action.kind) {
        case Action::Kind::Frames:
            if (action.frames <= 0) {
                actions_.pop_front();
                continue;
            }
            if (PassFrame(deadline) && --action.frames == 0) actions_.pop_front();
            return;
        case Action::Kind::Input:
            for (const Message& m : action.input) queue.Post(m);
            actions_.pop_front();
            return;
        case Action::Kind::Snapshot:
            Snapshot(action);
            actions_.pop_front();
            continue;
        case Action::Kind::Verb: {
            Message m;
            m.message = WM_APP_SCRIPT;
            m.wParam = static_cast<uint32_t>(action.line);
            m.text = action.text;
            queue.Post(m);
            actions_.pop_front();
            return;
        }
        case Action::Kind::Quit:
            actions_.clear();
            next_ = lines_.size();
            EndOfScript(deadline);
            return;
        case Action::Kind::RealTime:
            realtime_ = true;
            Clock::FollowReal();
            actions_.pop_front();
            continue;
        case Action::Kind::Await:
            if (!AwaitStep(action, deadline)) return;
            actions_.pop_front();
            continue;
        }
    }
}

bool ScriptRunner::AwaitStep(Action& action, uint32_t deadline) {
    const auto seen = std::find(announced_.begin(), announced_.end(), action.text);
    if (seen != announced_.end()) {
        announced_.erase(announced_.begin(), seen + 1);
        return true;
    }
    if (PassFrame(deadline) && --action.frames <= 0) {
        Complain(action.line, "await " + action.text, "not announced in time");
        return true;
    }
    return false;
}

bool ScriptRunner::PassFrame(uint32_t deadline) {
    if (!realtime_) {
        Clock::AdvanceTo(Clock::Now() + kFrameMs);
        return true;
    }
    // Input and network messages end the wait early; the frame has passed only at its deadline.
    MessageQueue::Instance().WaitReal(deadline);
    return static_cast<int32_t>(deadline - Clock::Now()) <= 0;
}

void ScriptRunner::EndOfScript(uint32_t deadline) {
    if (!ended_) {
        ended_ = true;
        Message destroy;
        destroy.message = WM_DESTROY;
        MessageQueue::Instance().Post(destroy);
        return;
    }
    if (++stepsAfterEnd_ > kFramesAfterEnd) {
        std::fprintf(stderr, "the script has ended but the program did not\n");
        std::fflush(nullptr);
        std::_Exit(3);
    }
    PassFrame(deadline);
}

bool ScriptRunner::ParseNextLine() {
    while (next_ < lines_.size()) {
        const size_t number = next_ + 1;
        const std::string& raw = lines_[next_];
        if (cutLines_[next_++]) Complain(number, raw, "too long: the rest of the line is skipped");
        const std::string trimmed = Trim(raw);
        if (trimmed.empty() || trimmed[0] == '#') continue;
        // Only the line end goes from the right: `type` keeps trailing spaces.
        std::string line = raw.substr(raw.find_first_not_of(" \t"));
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
        if (!ParseLine(line, number)) {
            Complain(number, trimmed, "not understood");
            continue;
        }
        if (!actions_.empty()) return true;
    }
    return false;
}

bool ScriptRunner::ParseLine(const std::string& line, size_t number) {
    std::istringstream in(line);
    std::string verb;
    in >> verb;
    std::string rest;
    std::getline(in, rest);
    if (verb == "type") {
        // `type` takes the rest of the line as written (one separating space dropped).
        QueueTyping((!rest.empty() && rest[0] == ' ') ? rest.substr(1) : rest, number);
        return true;
    }
    // A comment may follow the arguments ("key # # the hash key" presses '#').
    if (const auto hash = rest.find(" #", 1); hash != std::string::npos) rest.resize(hash);
    rest = Trim(rest);
    // Read when the script is loaded (see DrawsMessageBoxes); nothing to do where it stands.
    if (verb == "boxes") return rest.empty();
    Action action;
    action.line = number;
    if (!ReadAction(verb, rest, line, action)) return false;
    actions_.push_back(std::move(action));
    return true;
}

bool ScriptRunner::ReadAction(const std::string& verb, const std::string& rest, const std::string& line,
                              Action& action) {
    if (verb == "frames" || verb == "wait") {
        int64_t n = 0;
        if (!ParseInt(rest, n) || n < 0) return false;
        action.frames = verb == "frames" ? n : n / kFrameMs + (n % kFrameMs != 0 ? 1 : 0);
        return true;
    }
    if (verb == "key" || verb == "keydown" || verb == "keyup") {
        action.kind = Action::Kind::Input;
        return keyboard_.KeyMessages(rest, verb != "keyup", verb != "keydown", action.input);
    }
    if (verb == "move" || verb == "click" || verb == "down" || verb == "up") {
        int32_t x = 0;
        int32_t y = 0;
        std::istringstream args(rest);
        if (!ParsePoint(args, x, y)) return false;
        action.kind = Action::Kind::Input;
        if (verb == "move" || verb == "click") action.input.push_back(Mouse(WM_MOUSEMOVE, x, y));
        if (verb == "down" || verb == "click") action.input.push_back(Mouse(WM_LBUTTONDOWN, x, y));
        if (verb == "up" || verb == "click") action.input.push_back(Mouse(WM_LBUTTONUP, x, y));
        return true;
    }
    if (verb == "wheel") {
        // "wheel X Y N": N notches away from the player (negative: towards), at most 10.
        int32_t x = 0;
        int32_t y = 0;
        std::istringstream args(rest);
        std::string notches;
        int64_t n = 0;
        if (!ParsePoint(args, x, y) || !(args >> notches) || !ParseInt(notches, n) || n < -10 || n > 10) return false;
        action.kind = Action::Kind::Input;
        Message turn = Mouse(WM_MOUSEWHEEL, x, y);
        turn.wParam = Message::WheelParam(static_cast<int32_t>(n));
        action.input.push_back(turn);
        return true;
    }
    if (verb == "snapshot" || verb == "await") {
        if (rest.empty()) return false;
        action.kind = verb == "snapshot" ? Action::Kind::Snapshot : Action::Kind::Await;
        action.text = rest;
        if (verb == "await") action.frames = kAwaitFrames;
        return true;
    }
    if (verb == "realtime") {
        action.kind = Action::Kind::RealTime;
        return rest.empty();
    }
    action.kind = verb == "quit" ? Action::Kind::Quit : Action::Kind::Verb;
    if (action.kind == Action::Kind::Verb) action.text = line;
    return true;
}

void ScriptRunner::QueueTyping(const std::string& typed, size_t number) {
    std::u16string untypeable;
    for (char16_t c : FromUtf8(typed)) {
        Action key;
        key.kind = Action::Kind::Input;
        keyboard_.CharacterInput(c, key.input);
        if (key.input.empty()) {
            untypeable.push_back(c);
            continue;
        }
        actions_.push_back(key);
        Action frame;
        frame.frames = 1;
        actions_.push_back(frame);
    }
    // The rest of the line is typed; what no key or input method gives is named.
    if (!untypeable.empty()) Complain(number, ToUtf8(untypeable), "cannot be typed");
}

void ScriptRunner::Snapshot(const Action& action) {
    const Display* display = Display::Current();
    const Surface* shown = MessageBoxWindow::StandalonePicture();
    if (shown == nullptr && display != nullptr) shown = display->LastPresented();
    if (shown == nullptr) {
        Complain(action.line, "snapshot " + action.text, "nothing has been presented yet");
        return;
    }
    if (!SavePng(*shown, action.text)) Complain(action.line, "snapshot " + action.text, "cannot write the file");
}

}  // namespace platform
