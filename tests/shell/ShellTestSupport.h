#pragma once
// Shared pieces of the shell tests: a screen that records every call, a pump step that
// dispatches what waits, and a fixture that leaves the process-wide state as it found it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/MessageQueue.h"
#include "platform/ScriptRunner.h"
#include "shell/FrameLoop.h"
#include "shell/Globals.h"
#include "shell/IGameInterface.h"

namespace shelltest {

// Thrown by the test exit hook in place of ending the process.
struct ShutdownCalled {};

class RecordingScreen : public IGameInterface {
public:
    std::vector<std::string> calls;

    bool Run() override { return Note("Run"); }
    bool RestoreRes() override { return Note("RestoreRes"); }
    bool UpDateScreen() override { return Note("UpDateScreen"); }
    bool UpDateGame() override { return Note("UpDateGame"); }
    bool MouseDown(int32_t b, int32_t x, int32_t y) override { return Note("MouseDown", b, x, y); }
    bool MouseUp(int32_t b, int32_t x, int32_t y) override { return Note("MouseUp", b, x, y); }
    bool MouseMove(int32_t x, int32_t y) override { return Note("MouseMove", x, y); }
    bool KeyDown(int32_t k, int32_t s) override { return Note("KeyDown", k, s); }
    bool KeyPress(int32_t k) override { return Note("KeyPress", k); }
    bool KeyUp(int32_t k, int32_t s) override { return Note("KeyUp", k, s); }
    void WindowHidden(bool hidden) override { Note("WindowHidden", static_cast<int>(hidden)); }
    void TimeLost(uint32_t fromMs, uint32_t toMs) override { Note("TimeLost", fromMs, toMs); }

    // Only the calls whose name starts with `prefix`.
    std::vector<std::string> Calls(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& c : calls) {
            if (c.rfind(prefix, 0) == 0) out.push_back(c);
        }
        return out;
    }

private:
    template <typename... Args>
    bool Note(const char* name, Args... args) {
        std::string entry = name;
        ((entry += ' ', entry += std::to_string(args)), ...);
        calls.push_back(entry);
        return true;
    }
};

// Takes every waiting message and dispatches it, translating key messages or not.
inline void DispatchAll(bool translate = true) {
    auto& queue = platform::MessageQueue::Instance();
    platform::Message msg;
    while (queue.Peek(msg, true)) {
        if (translate) queue.Translate(msg);
        WindowProc(msg);
    }
}

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::MessageQueue::Instance().Clear();
        SetShutdownExitHook([] { throw ShutdownCalled{}; });
        screen = std::make_shared<RecordingScreen>();
        g_Screen = screen;
    }
    void TearDown() override {
        if (platform::ScriptRunner::Active()) platform::ScriptRunner::Stop();
        platform::Clock::UseReal();
        platform::MessageQueue::Instance().Clear();
        SetShutdownExitHook(nullptr);
        g_Screen.reset();
        g_LastFrameTime = 0;
        g_FrameElapsed = 0;
    }

    std::shared_ptr<RecordingScreen> screen;
};

}  // namespace shelltest
