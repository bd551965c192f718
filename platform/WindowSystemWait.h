#pragma once
#include <cstdint>
#include <memory>

struct SDL_Window;

namespace platform {

// Sleeps on the X server's connection of a window. SDL's own event wait reads the socket about
// thirty times on each call, which cost a fifth of a race frame; this wait sends what is
// buffered, looks once at the events the client has already read, and then sleeps in one poll.
// The caller pumps SDL's events after a wait that did not time out.
class WindowSystemWait {
public:
    // Null unless the window lives on an X server. From then on a broken connection to the
    // server ends the process at once with status 1 and one line on standard error.
    static std::unique_ptr<WindowSystemWait> ForWindow(SDL_Window* window);
    // Work that must still be done when the connection breaks, before the process ends (results
    // still queued for a file). It runs once, on the thread that found the loss, and must not use
    // the display.
    static void SetLastWork(void (*work)());
    // What a broken connection does: the line on standard error, the last work, status 1.
    [[noreturn]] static void EndForLostConnection();

    // True when events wait in the client's queue or on the connection; looks without reading.
    bool HasInput();

    enum class Result { TimedOut, Ready };
    // Returns Ready at once when events already wait in the client's queue; otherwise sleeps
    // until the connection can be read, Wake is called, or `timeoutMs` pass.
    Result Wait(int32_t timeoutMs);
    // Thread-safe: ends the current or the next Wait of any window.
    static void Wake();
    // Once the video system has turned SIGTERM into the window's close, closing the terminal the
    // game was started from (SIGHUP) closes it the same way, unless the starter ignores SIGHUP.
    static void EndOnHangUp();

    WindowSystemWait(const WindowSystemWait&) = delete;
    WindowSystemWait& operator=(const WindowSystemWait&) = delete;

private:
    explicit WindowSystemWait(void* display) : display_(display) {}
    void* display_;  // the Xlib connection, owned by SDL's video system
};

}  // namespace platform
