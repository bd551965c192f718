#pragma once
#include <cstdint>
#include <deque>
#include <functional>

#include "platform/Message.h"

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
    // TranslateMessage: for a key-down message with characters, queues WM_CHAR messages for
    // them at the front of the queue (so they are the next messages taken).
    void Translate(const Message& msg);
    void Post(const Message& msg);
    void PostQuit(int32_t exitCode);
    bool Empty();

    // The one wait of the program: returns when input arrives, a network message wakes the
    // thread (Wake), or the clock reaches `deadline` (Clock milliseconds), whichever comes
    // first. In a scripted run the script runner acts here instead of waiting.
    void WaitUntil(uint32_t deadline);
    // Thread-safe: makes a waiting WaitUntil return.
    static void Wake();

    // Window events (expose, resize, minimise) are handed here instead of being queued.
    void SetWindowEventHandler(std::function<void(const void* sdlEvent)> handler);

    // Tests: drop everything queued.
    void Clear();

private:
    MessageQueue() = default;
    void PumpSdlEvents();
    std::deque<Message> queue_;
    std::function<void(const void*)> windowHandler_;
};

}  // namespace platform
