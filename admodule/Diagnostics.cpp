#include "admodule/Diagnostics.h"

#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <ctime>

namespace tavi {

namespace {

// A standard output nobody reads (a pipe whose reader stopped reading) would hold the call, and
// every other caller's after it, without end: a line it cannot take now is left out.
bool OutputTakesALine() {
    pollfd out{STDOUT_FILENO, POLLOUT, 0};
    return poll(&out, 1, 0) == 1 && (out.revents & POLLOUT) != 0;
}

}  // namespace

void DiagPrint(const char* format, ...) {
    if (!OutputTakesALine()) return;
    // A host whose standard output is a pipe nobody reads any more must not die of the write:
    // SIGPIPE is held back for this thread meanwhile, and one the write raised is taken.
    sigset_t pipeSignal;
    sigset_t before;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &before);
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
    if (sigismember(&before, SIGPIPE) == 1) return;  // held back already by the host
    sigset_t pending;
    if (sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1) {
        const timespec none{};
        sigtimedwait(&pipeSignal, nullptr, &none);
    }
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
}

}  // namespace tavi
