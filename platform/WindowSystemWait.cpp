#include "platform/WindowSystemWait.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>

namespace platform {
namespace {

std::atomic<void (*)()> g_lastWork{nullptr};

// Xlib calls this when the connection to the X server breaks: the session ended or the server
// died. Its own handler ends the process through exit(), whose clean-up destroys the window and
// then waits on the dead connection for ever, spinning at full speed; the game ends at once
// instead, after the last work. Every file of the player's is replaced whole or not at all, so
// none is left half written.
int ConnectionLost(::Display*) { WindowSystemWait::EndForLostConnection(); }

// Readable after Wake until a wait empties it; lives as long as the process.
int WakeFd() {
    static const int fd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    return fd;
}

}  // namespace

void WindowSystemWait::SetLastWork(void (*work)()) { g_lastWork.store(work); }

void WindowSystemWait::EndForLostConnection() {
    static const char kSaid[] = "glyphor_police: the connection to the display was lost; the game ends\n";
    (void)!write(STDERR_FILENO, kSaid, sizeof kSaid - 1);
    // Taken, so that a loss found again during the work ends at once.
    if (void (*work)() = g_lastWork.exchange(nullptr)) work();
    _exit(1);
}

void WindowSystemWait::Wake() {
    const uint64_t one = 1;
    if (WakeFd() >= 0) (void)!write(WakeFd(), &one, sizeof one);
}

void WindowSystemWait::EndOnHangUp() {
    struct sigaction term {};
    struct sigaction hangUp {};
    if (sigaction(SIGTERM, nullptr, &term) != 0 || term.sa_handler == SIG_DFL || term.sa_handler == SIG_IGN) return;
    if (sigaction(SIGHUP, nullptr, &hangUp) != 0 || hangUp.sa_handler != SIG_DFL) return;
    WakeFd();  // made now: the handler only writes to it
    hangUp.sa_handler = [](int) {
        raise(SIGTERM);
        Wake();
    };
    sigemptyset(&hangUp.sa_mask);
    hangUp.sa_flags = SA_RESTART;
    sigaction(SIGHUP, &hangUp, nullptr);
}

std::unique_ptr<WindowSystemWait> WindowSystemWait::ForWindow(SDL_Window* window) {
    if (window == nullptr) return nullptr;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11 ||
        info.info.x11.display == nullptr) {
        return nullptr;
    }
    XSetIOErrorHandler(&ConnectionLost);
    return std::unique_ptr<WindowSystemWait>(new WindowSystemWait(info.info.x11.display));
}

bool WindowSystemWait::HasInput() {
    auto* display = static_cast<::Display*>(display_);
    if (XEventsQueued(display, QueuedAlready) > 0) return true;
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    return poll(&fd, 1, 0) != 0;
}

WindowSystemWait::Result WindowSystemWait::Wait(int32_t timeoutMs) {
    auto* display = static_cast<::Display*>(display_);
    // Flushing may read what the server sent meanwhile into the client's queue, where poll
    // cannot see it.
    XFlush(display);
    if (XEventsQueued(display, QueuedAlready) > 0) return Result::Ready;
    const int wakeFd = WakeFd();
    pollfd fds[2] = {{ConnectionNumber(display), POLLIN, 0}, {wakeFd, POLLIN, 0}};
    const int ready = poll(fds, wakeFd >= 0 ? 2 : 1, timeoutMs < 0 ? 0 : timeoutMs);
    uint64_t count = 0;
    if (ready > 0 && (fds[1].revents & POLLIN) != 0) (void)!read(wakeFd, &count, sizeof count);
    // An interrupted poll is reported as ready too: the pump that follows turns a pending
    // SIGINT or SIGTERM into the quit event.
    return ready == 0 ? Result::TimedOut : Result::Ready;
}

}  // namespace platform
