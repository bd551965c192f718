// A script file as GLYPHOR_SCRIPT hands it to the script runner. The runner is driven from the
// program's one wait as the game's loops drive it, a bounded number of times, and everything it
// queues is taken as the loops take it: only input messages, verbs and the end of the run, with
// pointer positions on the 800 x 600 screen. Each wait's deadline has already passed, so the
// frames of a `realtime` script take no real time.

#include <cstdlib>
#include <string>

#include "platform/Clock.h"
#include "platform/Message.h"
#include "platform/MessageQueue.h"
#include "platform/ScriptRunner.h"

namespace {

constexpr int kMaxWaits = 300;

bool Expected(const platform::Message& msg) {
    using namespace platform;
    switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEWHEEL:
        return msg.X() < 800 && msg.Y() < 600;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_IME_CHAR:
    case WM_APP_SCRIPT:
    case WM_DESTROY:
        return true;
    default:
        return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The runner names every line it cannot act on; a fuzz run would drown in them.
    platform::ScriptRunner::SetReportsShown(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    auto& queue = platform::MessageQueue::Instance();
    queue.Clear();
    platform::ScriptRunner::Start(std::string(reinterpret_cast<const char*>(data), size));
    bool ended = false;
    for (int wait = 0; wait < kMaxWaits && !ended; ++wait) {
        queue.WaitUntil(platform::Clock::Now());
        platform::Message msg;
        while (!ended && queue.Peek(msg, true)) {
            if (!Expected(msg)) std::abort();
            ended = msg.message == platform::WM_DESTROY;
            queue.Translate(msg);
        }
    }
    platform::ScriptRunner::Stop();
    queue.Clear();
    return 0;
}
