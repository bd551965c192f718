#include "admodule/Diagnostics.h"

#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <stdio_ext.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <string>

namespace tavi {

namespace {

// A standard output nobody reads (a pipe whose reader stopped reading) would hold the call, and
// every other caller's after it, without end: a line it cannot take now is left out. A pipe that
// says it can take more has at least a page free, so a line is cut to what fits there together
// with what the host's own output holds back, and a line that does not fit beside that is left
// out too.
constexpr std::size_t kPageRoom = 4096;
constexpr std::size_t kMaxLine = 512;

// A pipe or a socket can be full; a file or a terminal takes whatever is written.
bool OutputIsAPipe() {
    struct stat out {};
    return fstat(STDOUT_FILENO, &out) == 0 && (S_ISFIFO(out.st_mode) || S_ISSOCK(out.st_mode));
}

bool OutputTakesALine() {
    pollfd out{STDOUT_FILENO, POLLOUT, 0};
    return poll(&out, 1, 0) == 1 && (out.revents & POLLOUT) != 0;
}

// The line `format` makes, at most kMaxLine bytes: a longer one ends in "...".
std::string LineOf(const char* format, va_list args) {
    char line[kMaxLine + 1];
    const int length = std::vsnprintf(line, sizeof line, format, args);
    if (length < 0) return std::string();
    std::string text(line);
    if (static_cast<std::size_t>(length) > kMaxLine) text.replace(kMaxLine - 4, std::string::npos, "...\n");
    return text;
}

}  // namespace

void DiagPrint(const char* format, ...) {
    if (!OutputTakesALine()) return;
    va_list args;
    va_start(args, format);
    const std::string line = LineOf(format, args);
    va_end(args);
    if (line.empty() || (OutputIsAPipe() && __fpending(stdout) + line.size() > kPageRoom)) return;
    // A host whose standard output is a pipe nobody reads any more must not die of the write:
    // SIGPIPE is held back for this thread meanwhile, and one the write raised is taken.
    sigset_t pipeSignal;
    sigset_t before;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &before);
    std::fputs(line.c_str(), stdout);
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
