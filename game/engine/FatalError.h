#pragma once
#include <functional>

// How the engines end the program after a failure they have already shown (a resource pack or a
// picture that cannot be read): they call EndAfterFatalError, which runs the handler the shell
// sets. Without a handler, or when the handler returns, the process ends with status 1.
void SetFatalErrorHandler(std::function<void()> handler);
[[noreturn]] void EndAfterFatalError();
