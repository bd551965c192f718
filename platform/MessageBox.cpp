#include "platform/MessageBox.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/CodePage.h"
#include "platform/Display.h"

namespace platform {
namespace {

bool IsHeadlessDriver(const char* name) {
    return name != nullptr && (std::strcmp(name, "offscreen") == 0 || std::strcmp(name, "dummy") == 0);
}

// A box would block a run nobody watches: scripted runs and headless drivers write to stderr.
bool MustNotBlock() {
    if (std::getenv("GLYPHOR_SCRIPT") != nullptr) return true;
    if (IsHeadlessDriver(std::getenv("SDL_VIDEODRIVER"))) return true;
    if (IsHeadlessDriver(SDL_GetCurrentVideoDriver())) return true;
    return std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr;
}

std::string WithoutCarriageReturns(const std::u16string& text) {
    std::string utf8 = ToUtf8(text);
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8) {
        if (c != '\r') out.push_back(c);
    }
    return out;
}

}  // namespace

void ShowMessageBox(const std::u16string& text, const std::u16string& caption, MessageIcon icon) {
    const std::string body = WithoutCarriageReturns(text);
    const std::string title = ToUtf8(caption);
    if (!MustNotBlock()) {
        Uint32 flags = 0;
        if (icon == MessageIcon::Error) flags = SDL_MESSAGEBOX_ERROR;
        if (icon == MessageIcon::Information) flags = SDL_MESSAGEBOX_INFORMATION;
        SDL_Window* parent = Display::Current() != nullptr ? Display::Current()->SdlWindow() : nullptr;
        if (SDL_ShowSimpleMessageBox(flags, title.c_str(), body.c_str(), parent) == 0) return;
    }
    std::fprintf(stderr, "[%s] %s\n", title.c_str(), body.c_str());
    std::fflush(stderr);
}

const std::u16string& ApplicationTitle() {
    static const std::u16string title = u"打字游戏";
    return title;
}

}  // namespace platform
