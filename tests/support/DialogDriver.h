#pragma once
// Answers modal dialogs in tests: each wait of a dialog's loop runs the next step (usually a
// key), on a virtual clock; a dialog still open long after the steps ran out gets Esc, so a fault
// fails the test instead of hanging it.
#include <cstdint>
#include <deque>
#include <functional>
#include <utility>

#include "platform/Clock.h"
#include "platform/Message.h"
#include "platform/MessageQueue.h"
#include "shell/Globals.h"

namespace testsupport {

class DialogDriver {
public:
    explicit DialogDriver(std::deque<std::function<void()>> steps = {}) : steps_(std::move(steps)) {
        platform::MessageQueue::Instance().Clear();
        platform::Clock::UseVirtual(100000);
        g_LastFrameTime = 100000;
        platform::MessageQueue::Instance().SetScriptHook([this](uint32_t deadline) { Step(deadline); });
    }
    ~DialogDriver() {
        platform::MessageQueue::Instance().SetScriptHook({});
        platform::MessageQueue::Instance().Clear();
        platform::Clock::UseReal();
    }
    static std::function<void()> Key(uint32_t vk) {
        return [vk] {
            platform::Message down;
            down.message = platform::WM_KEYDOWN;
            down.wParam = vk;
            platform::MessageQueue::Instance().Post(down);
        };
    }
    static std::function<void()> Char(char16_t ch) {
        return [ch] {
            platform::Message typed;
            typed.message = platform::WM_CHAR;
            typed.wParam = ch;
            platform::MessageQueue::Instance().Post(typed);
        };
    }
    // The dialog waits seen so far (0: no dialog ran).
    int Waits() const { return waits_; }

private:
    void Step(uint32_t deadline) {
        ++waits_;
        if (!steps_.empty()) {
            auto step = std::move(steps_.front());
            steps_.pop_front();
            step();
        } else if (++idle_ > 500) {
            Key(platform::VK_ESCAPE)();  // a dialog that never ends fails instead of hanging
        }
        if (platform::MessageQueue::Instance().Empty()) platform::Clock::AdvanceTo(deadline);
    }
    std::deque<std::function<void()>> steps_;
    int idle_ = 0;
    int waits_ = 0;
};

}  // namespace testsupport
