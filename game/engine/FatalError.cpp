#include "engine/FatalError.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

std::function<void()>& Handler() {
    static std::function<void()> handler;
    return handler;
}

}  // namespace

void SetFatalErrorHandler(std::function<void()> handler) { Handler() = std::move(handler); }

void EndAfterFatalError() {
    if (const auto handler = Handler()) handler();
    std::fflush(nullptr);
    std::_Exit(1);
}
