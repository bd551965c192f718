#include "platform/MessageQueue.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/Display.h"
#include "platform/KeyMap.h"
#include "platform/WindowSystemWait.h"

namespace platform {
namespace {

constexpr int32_t kMaxX = 799;
constexpr int32_t kMaxY = 599;
constexpr uint32_t kPumpAnywayMs = 100;

// Cross-thread state: the wake flag, messages posted from other threads, the condition the
// wait sleeps on when SDL has no event wait of its own.
std::mutex g_mutex;
std::condition_variable g_cv;
std::atomic<bool> g_woken{false};
std::deque<Message> g_inbox;
std::atomic<bool> g_inboxFilled{false};

uint32_t WakeEventType() {
    static const uint32_t type = SDL_RegisterEvents(1);
    return type;
}

bool EventsRunning() { return SDL_WasInit(SDL_INIT_EVENTS) != 0; }

// SDL's own event wait blocks in the window system; the headless drivers have none and SDL
// would poll every millisecond, so there the condition variable serves instead (those drivers
// deliver no input that could be missed).
bool SdlCanWait() {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return false;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr) return false;
    return std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
}

int32_t Clamp(int32_t v, int32_t hi) { return std::clamp(v, 0, hi); }

bool IsKeyMessage(uint32_t m) { return m == WM_KEYDOWN || m == WM_KEYUP || m == WM_SYSKEYDOWN || m == WM_SYSKEYUP; }

}  // namespace

MessageQueue::MessageQueue() = default;
MessageQueue::~MessageQueue() = default;

MessageQueue& MessageQueue::Instance() {
    static MessageQueue queue;
    return queue;
}

void MessageQueue::TakeInbox() {
    if (!g_inboxFilled.load()) return;
    std::lock_guard<std::mutex> lock(g_mutex);
    while (!g_inbox.empty()) {
        queue_.push_back(std::move(g_inbox.front()));
        g_inbox.pop_front();
        keyAwaitsText_ = false;
    }
    g_inboxFilled.store(false);
}

void MessageQueue::PumpSdlEvents() {
    if (EventsRunning() && !std::exchange(sdlJustWaited_, false)) {
        // On an X server SDL's pump reads the socket several times even when nothing came; it
        // runs when something did, and at least every kPumpAnywayMs for SDL's own timed work
        // (focus changes, input-method messages, signals).
        const uint32_t now = SDL_GetTicks();
        if (connection_ == nullptr || now - lastPump_ >= kPumpAnywayMs || connection_->HasInput()) {
            lastPump_ = now;
            SDL_PumpEvents();
        }
        SDL_Event event;
        while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
            HandleSdlEvent(event);
        }
    }
    TakeInbox();
}

bool MessageQueue::Peek(Message& out, bool remove) {
    PumpSdlEvents();
    if (queue_.empty()) return false;
    if (remove) {
        out = std::move(queue_.front());
        queue_.pop_front();
        keyAwaitsText_ = false;
        NoteRemoved(out);
    } else {
        out = queue_.front();
    }
    return true;
}

void MessageQueue::NoteRemoved(const Message& msg) {
    if (msg.message >= WM_MOUSEMOVE && msg.message <= WM_MOUSEWHEEL) {
        pointerX_ = msg.X();
        pointerY_ = msg.Y();
        pointerKnown_ = true;
    }
    if (!IsKeyMessage(msg.message)) return;
    uint32_t physical = (msg.lParam >> 16) & 0x1FF;
    if (physical == 0) physical = 0x1000 + msg.wParam;
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
        keysDown_[physical] = msg.wParam;
    } else {
        keysDown_.erase(physical);
    }
}

bool MessageQueue::PointerPosition(int32_t& x, int32_t& y) const {
    if (!pointerKnown_) return false;
    x = pointerX_;
    y = pointerY_;
    return true;
}

bool MessageQueue::IsKeyDown(uint32_t vk) const {
    return std::any_of(keysDown_.begin(), keysDown_.end(), [vk](const auto& entry) { return entry.second == vk; });
}

void MessageQueue::Translate(const Message& msg) {
    uint32_t charMessage = 0;
    if (msg.message == WM_KEYDOWN) charMessage = WM_CHAR;
    if (msg.message == WM_SYSKEYDOWN) charMessage = WM_SYSCHAR;
    if (charMessage == 0 || msg.chars.empty()) return;
    for (auto it = msg.chars.rbegin(); it != msg.chars.rend(); ++it) {
        Message ch;
        ch.message = charMessage;
        ch.wParam = *it;
        ch.lParam = msg.lParam;
        queue_.push_front(std::move(ch));
    }
    keyAwaitsText_ = false;
}

void MessageQueue::Post(const Message& msg) {
    queue_.push_back(msg);
    keyAwaitsText_ = false;
}

void MessageQueue::PostFromAnyThread(const Message& msg) {
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_inbox.push_back(msg);
        g_inboxFilled.store(true);
    }
    Wake();
}

void MessageQueue::PostQuit(int32_t exitCode) {
    Message quit;
    quit.message = WM_QUIT;
    quit.wParam = static_cast<uint32_t>(exitCode);
    Post(quit);
}

bool MessageQueue::Empty() {
    TakeInbox();
    return queue_.empty();
}

void MessageQueue::Clear() {
    queue_.clear();
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_inbox.clear();
        g_inboxFilled.store(false);
    }
    keysDown_.clear();
    keyAwaitsText_ = false;
    pointerKnown_ = false;
    leftPress_ = LeftPress();
}

void MessageQueue::SetWindowEventHandler(std::function<void(const void*)> handler) {
    windowHandler_ = std::move(handler);
}

void MessageQueue::SetScriptHook(std::function<void(uint32_t)> hook) { scriptHook_ = std::move(hook); }

void MessageQueue::Wake() {
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_woken.store(true);
    }
    g_cv.notify_all();
    WindowSystemWait::Wake();
    if (EventsRunning()) {
        SDL_Event event;
        SDL_zero(event);
        event.type = WakeEventType();
        SDL_PushEvent(&event);
    }
}

void MessageQueue::WaitForWake(uint32_t maxMs) {
    std::unique_lock<std::mutex> lock(g_mutex);
    g_cv.wait_for(lock, std::chrono::milliseconds(maxMs), [] { return g_woken.load(); });
    g_woken.store(false);
}

void MessageQueue::WaitUntil(uint32_t deadline) {
    if (!Empty()) return;
    if (scriptHook_) {
        scriptHook_(deadline);
        return;
    }
    WaitReal(deadline);
}

void MessageQueue::WaitReal(uint32_t deadline) {
    for (;;) {
        if (g_woken.exchange(false) || !Empty()) return;
        const auto remaining = static_cast<int32_t>(deadline - Clock::Now());
        if (remaining <= 0) return;
        if (connection_ != nullptr) {
            if (WaitOnConnection(remaining) && !Empty()) return;
        } else if (SdlCanWait()) {
            SDL_Event event;
            if (SDL_WaitEventTimeout(&event, remaining) != 0) {
                HandleSdlEvent(event);
                g_woken.store(false);
                return;
            }
            sdlJustWaited_ = true;
        } else {
            std::unique_lock<std::mutex> lock(g_mutex);
            g_cv.wait_for(lock, std::chrono::milliseconds(remaining),
                          [] { return g_woken.load() || g_inboxFilled.load(); });
        }
    }
}

bool MessageQueue::WaitOnConnection(int32_t timeoutMs) {
    // Events SDL has already taken in (during a window call) wait in its own queue.
    const bool sdlHasEvents = SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) == SDL_TRUE;
    if (!sdlHasEvents && connection_->Wait(timeoutMs) == WindowSystemWait::Result::TimedOut) {
        // Nothing arrived and the client's queue was empty: the next pump would find nothing.
        sdlJustWaited_ = true;
        return false;
    }
    sdlJustWaited_ = false;
    PumpSdlEvents();
    return true;
}

void MessageQueue::UseWindow(SDL_Window* window) {
    connection_ = WindowSystemWait::ForWindow(window);
    sdlJustWaited_ = false;
}

void MessageQueue::HandleSdlEvent(const SDL_Event& event) {
    const bool scripted = static_cast<bool>(scriptHook_);
    if (int32_t x = 0, y = 0; leftPress_.ReleaseLost(event, x, y)) QueueMouse(WM_LBUTTONUP, x, y, 0);
    switch (event.type) {
    case SDL_QUIT: {
        Message destroy;
        destroy.message = WM_DESTROY;
        Post(destroy);
        break;
    }
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) keysDown_.clear();
        [[fallthrough]];
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
        if (windowHandler_) windowHandler_(&event);
        // The wait ends, so that a still screen shows what was uncovered or resized at once
        // instead of at its next wake.
        if (event.type != SDL_WINDOWEVENT || event.window.event == SDL_WINDOWEVENT_EXPOSED ||
            event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED || event.window.event == SDL_WINDOWEVENT_SHOWN ||
            event.window.event == SDL_WINDOWEVENT_RESTORED)
            g_woken.store(true);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (!scripted) QueueKey(event);
        break;
    case SDL_TEXTINPUT:
        if (!scripted) QueueText(event.text.text);
        break;
    case SDL_MOUSEMOTION:
        if (!scripted) QueueWindowMouse(WM_MOUSEMOVE, event.motion.x, event.motion.y, 0);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        if (scripted) break;
        const bool down = event.type == SDL_MOUSEBUTTONDOWN;
        uint32_t message = 0;
        if (event.button.button == SDL_BUTTON_LEFT) message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        if (event.button.button == SDL_BUTTON_RIGHT) message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        if (event.button.button == SDL_BUTTON_MIDDLE) message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
        if (message != 0) QueueWindowMouse(message, event.button.x, event.button.y, 0);
        break;
    }
    case SDL_MOUSEWHEEL:
        if (!scripted) QueueWheel(event);
        break;
    default:
        break;
    }
}

void MessageQueue::QueueKey(const SDL_Event& event) {
    const SDL_Keysym& sym = event.key.keysym;
    const uint32_t vk = KeyMap::FromSdl(sym.sym, sym.scancode, (sym.mod & KMOD_NUM) != 0);
    if (vk == 0) {
        keyAwaitsText_ = false;
        return;
    }
    const bool system = (sym.mod & KMOD_ALT) != 0 || vk == VK_F10 || vk == VK_MENU;
    const bool down = event.type == SDL_KEYDOWN;
    Message msg;
    msg.wParam = vk;
    msg.lParam = 1u | ((static_cast<uint32_t>(sym.scancode) & 0x1FF) << 16);
    if (down) {
        msg.message = system ? WM_SYSKEYDOWN : WM_KEYDOWN;
        if (event.key.repeat != 0) msg.lParam |= 1u << 30;
        if (const uint32_t c = KeyMap::ControlCharacter(vk); c != 0) msg.chars.push_back(c);
    } else {
        msg.message = system ? WM_SYSKEYUP : WM_KEYUP;
        msg.lParam |= 3u << 30;
    }
    queue_.push_back(std::move(msg));
    keyAwaitsText_ = down;
    // Right Alt alone is AltGr on many layouts: whether the key is a character or a system key
    // shows only when its text arrives.
    keyIsAltGr_ =
        down && system && (sym.mod & KMOD_LALT) == 0 && (sym.mod & KMOD_RALT) != 0 && vk != VK_F10 && vk != VK_MENU;
}

void MessageQueue::QueueText(const char* utf8) {
    const std::vector<uint32_t> codes = KeyMap::CodesOfText(utf8);
    if (keyAwaitsText_ && !queue_.empty() &&
        (queue_.back().message == WM_KEYDOWN || queue_.back().message == WM_SYSKEYDOWN)) {
        auto& key = queue_.back();
        // A character typed with AltGr (such as @ on a German layout) is an ordinary key, so the
        // games can catch it; Left Alt combinations stay system keys.
        if (keyIsAltGr_ && !codes.empty() && codes.front() >= 32) key.message = WM_KEYDOWN;
        key.chars.insert(key.chars.end(), codes.begin(), codes.end());
        return;
    }
    // Text an input method committed without a key of its own.
    for (uint32_t code : codes) {
        Message msg;
        msg.message = WM_IME_CHAR;
        msg.wParam = code;
        queue_.push_back(std::move(msg));
    }
    keyAwaitsText_ = false;
}

void MessageQueue::QueueWheel(const SDL_Event& event) {
    const uint32_t turn =
        Message::WheelParam(event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y);
    // The wheel comes where the last mouse message put the pointer on the 800x600 screen (SDL's
    // own position is in window pixels, which only some paths map); before any, it comes nowhere.
    int32_t x = 0;
    int32_t y = 0;
    if (PointerPosition(x, y)) QueueMouse(WM_MOUSEWHEEL, x, y, turn);
}

void MessageQueue::QueueWindowMouse(uint32_t message, int32_t x, int32_t y, uint32_t wParam) {
    if (const Display* display = Display::Current()) display->MapPointer(x, y);
    QueueMouse(message, x, y, wParam);
}

void MessageQueue::QueueMouse(uint32_t message, int32_t x, int32_t y, uint32_t wParam) {
    Message msg;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = Message::MakeLParam(Clamp(x, kMaxX), Clamp(y, kMaxY));
    leftPress_.Note(message, msg.X(), msg.Y());
    // Moves are coalesced: only the latest pointer position waits, so a slow frame never works
    // through a backlog of stale positions.
    if (message == WM_MOUSEMOVE && !queue_.empty() && queue_.back().message == WM_MOUSEMOVE) {
        queue_.back() = std::move(msg);
    } else {
        queue_.push_back(std::move(msg));
    }
    keyAwaitsText_ = false;
}

}  // namespace platform
