#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>

#include "engine/FatalError.h"
#include "results/HiScore.h"
#include "results/ResultBook.h"
#include "shell/FrameLoop.h"
#include "shell/Globals.h"
#include "shell/Startup.h"

namespace {

std::function<void()> g_exitHook;
bool g_shuttingDown = false;

// The engines' fatal failures end the program the way every other fatal failure does.
[[maybe_unused]] const bool g_fatalErrorsShutDown = [] {
    SetFatalErrorHandler([] { ShutdownProgram(kFatalExitStatus); });
    return true;
}();

template <typename T>
void Release(std::shared_ptr<T>& object) {
    try {
        object.reset();
    } catch (...) {
        // Each step goes on whatever the previous one did.
    }
}

}  // namespace

void SetShutdownExitHook(std::function<void()> hook) { g_exitHook = std::move(hook); }

void ReleaseSharedObjects() {
    Release(g_MsgDlg);
    Release(g_MsgDlg2);
    Release(g_SetupDlg);
    Release(g_Screen);
    Release(g_HiScore);
    // Results still queued for the history are written before the program ends.
    results::ResultBook::Close();
    Release(g_Graphic);
    Release(g_Sound);
    Release(g_SongFont);
    Release(g_ArialFont);
    // The copy's socket file goes, so the next start finds no stale one.
    ReleaseSingleInstance();
}

void ShutdownProgram(int status) {
    // A clean-up that ends the program again goes straight to the end.
    if (!g_shuttingDown) {
        g_shuttingDown = true;
        ReleaseSharedObjects();
    }
    g_shuttingDown = false;
    if (g_exitHook) {
        g_exitHook();
        std::abort();  // the hook must not return
    }
    // The window and everything else go with the process.
    std::fflush(nullptr);
    std::_Exit(status);
}
