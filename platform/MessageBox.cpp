#include "platform/MessageBox.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/CodePage.h"
#include "platform/MessageBoxPicture.h"
#include "platform/MessageBoxWindow.h"
#include "platform/ScriptRunner.h"

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

// Draws the box and waits for the player; false when it could not be shown.
bool ShowDrawnBox(const std::u16string& text, const std::u16string& caption, MessageIcon icon) {
    const std::unique_ptr<MessageBoxPicture> picture = MessageBoxPicture::Create(text, caption, icon);
    return picture != nullptr && MessageBoxWindow::Run(*picture);
}

}  // namespace

void ShowMessageBox(const std::u16string& text, const std::u16string& caption, MessageIcon icon) {
    if (!MustNotBlock() && ShowDrawnBox(text, caption, icon)) return;
    std::fprintf(stderr, "[%s] %s\n", ToUtf8(caption).c_str(), WithoutCarriageReturns(text).c_str());
    std::fflush(stderr);
    // A script that asks for boxes drives them like a player: it sees, snapshots and closes them.
    if (ScriptRunner::Active() && ScriptRunner::DrawsMessageBoxes()) ShowDrawnBox(text, caption, icon);
}

const std::u16string& ApplicationTitle() {
    static const std::u16string title = u"打字游戏";
    return title;
}

}  // namespace platform
