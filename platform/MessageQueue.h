#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>

#include "platform/LeftPress.h"
#include "platform/Message.h"

union SDL_Event;
struct SDL_Window;

namespace platform {

// The thread's message queue, fed from SDL events (and, in scripted runs, by the script runner).
// Key presses are queued with the text they produced; Translate turns that text into character
// messages, so a key message handled without translation yields no character. F10 and keys
// pressed with Alt arrive as WM_SYSKEYDOWN / WM_SYSKEYUP.
class MessageQueue {
public:
    static MessageQueue& Instance();

    // PeekMessage: takes SDL events into the queue first; false when nothing waits.
    bool Peek(Message& out, bool remove);
    // What the front of the queue held for TakeUnlessQuit.
    enum class Front { Empty, Quit, Taken };
    // Takes the front message into `out`, unless it is WM_QUIT: that one stays at the front, for
    // whichever loop ends on it (a dialog's loop first, then the main pump).
    Front TakeUnlessQuit(Message& out) {
        if (!Peek(out, false)) return Front::Empty;
        if (out.message == WM_QUIT) return Front::Quit;
        Peek(out, true);
        return Front::Taken;
    }
    // TranslateMessage: for a key-down message with characters, queues WM_CHAR messages for
    // them at the front of the queue (so they are the next messages taken). A system key gives
    // WM_SYSCHAR instead.
    void Translate(const Message& msg);
    void Post(const Message& msg);
    // Thread-safe: queues a message from any thread and wakes the wait.
    void PostFromAnyThread(const Message& msg);
    void PostQuit(int32_t exitCode);
    bool Empty();

    // The one wait of the program: returns when input arrives, a network message wakes the
    // thread (Wake), or the clock reaches `deadline` (Clock milliseconds), whichever comes
    // first. In a scripted run the script runner acts here instead of waiting.
    void WaitUntil(uint32_t deadline);
    // Thread-safe: makes a waiting WaitUntil return.
    static void Wake();
    // Waits on the real clock for the next Wake (at most `maxMs`), taking no input and passing
    // no frames: a scripted run waits here for work of another thread.
    static void WaitForWake(uint32_t maxMs = 50);
    // The real wait of WaitUntil, also in a scripted run (the script runner's real-time lines).
    void WaitReal(uint32_t deadline);

    // The game's window: on an X server the wait then sleeps on the server's connection itself
    // (WindowSystemWait). Null when the window is gone.
    void UseWindow(SDL_Window* window);

    // Window events (expose, resize, minimise, render resets) are handed here instead of being
    // queued. The pointer is the `const SDL_Event*`.
    void SetWindowEventHandler(std::function<void(const void* sdlEvent)> handler);

    // Scripted runs: `hook` acts in WaitUntil instead of waiting, and real keyboard and mouse
    // input is dropped. An empty hook restores real waiting and input.
    void SetScriptHook(std::function<void(uint32_t deadline)> hook);

    // GetKeyState: whether a key is down, as the key messages taken from the queue so far tell.
    bool IsKeyDown(uint32_t vk) const;
    // Where the pointer was at the last mouse message taken from the queue (screen pixels);
    // false before the first one.
    bool PointerPosition(int32_t& x, int32_t& y) const;

    // Turns one SDL event into messages (the queue does this for every event it takes; tests
    // may feed events directly).
    void HandleSdlEvent(const SDL_Event& event);

    // Tests: drop everything queued and forget the key state and the pointer.
    void Clear();

private:
    MessageQueue();
    ~MessageQueue();
    // WaitReal on the window's X connection; false when the wait timed out with nothing new.
    bool WaitOnConnection(int32_t timeoutMs);
    void PumpSdlEvents();
    void TakeInbox();
    void NoteRemoved(const Message& msg);
    void QueueKey(const SDL_Event& event);
    void QueueText(const char* utf8);
    void QueueMouse(uint32_t message, int32_t x, int32_t y, uint32_t wParam);
    // The same for a position in window pixels, turned into one on the screen first.
    void QueueWindowMouse(uint32_t message, int32_t x, int32_t y, uint32_t wParam);
    // A turn of the wheel, at the pointer's place on the screen.
    void QueueWheel(const SDL_Event& event);

    std::deque<Message> queue_;
    std::function<void(const void*)> windowHandler_;
    std::function<void(uint32_t)> scriptHook_;
    // Keys down: physical key (scancode, or 0x1000 + code for scripted keys) to its code.
    std::map<uint32_t, uint32_t> keysDown_;
    LeftPress leftPress_;
    // The last message queued was a key-down still waiting for the text it produced.
    bool keyAwaitsText_ = false;
    bool keyIsAltGr_ = false;
    bool pointerKnown_ = false;
    // A wait for SDL events has just timed out: SDL read the display's events before it gave
    // up, so the next pump has nothing new to find and is skipped.
    bool sdlJustWaited_ = false;
    std::unique_ptr<class WindowSystemWait> connection_;
    uint32_t lastPump_ = 0;  // SDL ticks of the last SDL pump
    int32_t pointerX_ = 0;
    int32_t pointerY_ = 0;
};

}  // namespace platform
