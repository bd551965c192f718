#include "platform/MessageBoxWindow.h"

#include <SDL.h>

#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/Display.h"
#include "platform/Message.h"
#include "platform/MessageQueue.h"

namespace platform {
namespace {

// How long the box waits for input before it draws itself again anyway (a window uncovered
// meanwhile shows it again by then); input redraws it at once.
constexpr uint32_t kRedrawMs = 1000;
constexpr uint32_t kVkF4 = VK_F1 + 3;

const Surface* g_standalone = nullptr;

// Messages that end the program close the box and are queued again for the game's own loop.
bool EndsProgram(const Message& m) {
    return m.message == WM_DESTROY || m.message == WM_QUIT || (m.message == WM_SYSKEYDOWN && m.wParam == kVkF4);
}

}  // namespace

bool MessageBoxWindow::Run(const MessageBoxPicture& picture) {
    MessageBoxWindow box(picture);
    if (!box.Open()) return false;
    MessageQueue& queue = MessageQueue::Instance();
    uint32_t drawnAt = Clock::Now();
    box.Redraw();
    for (;;) {
        bool changed = false;
        Message m;
        while (queue.Peek(m, true)) {
            if (!box.Handle(m)) return true;
            changed = true;
        }
        if (changed || Clock::Now() - drawnAt >= kRedrawMs) {
            drawnAt = Clock::Now();
            box.Redraw();
        }
        queue.WaitUntil(drawnAt + kRedrawMs);
    }
}

const Surface* MessageBoxWindow::StandalonePicture() { return g_standalone; }

MessageBoxWindow::MessageBoxWindow(const MessageBoxPicture& picture) : picture_(picture) {}

MessageBoxWindow::~MessageBoxWindow() {
    if (window_ != nullptr) {
        g_standalone = nullptr;
        SDL_DestroyWindow(window_);
    }
    if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    // The game's next frame is presented whole, over the place the box took.
    if (display_ != nullptr && under_ != nullptr) display_->Present(*under_);
}

bool MessageBoxWindow::Open() {
    display_ = Display::Current();
    const Surface* shown = display_ != nullptr && !display_->IsLost() ? display_->LastPresented() : nullptr;
    if (shown == nullptr) {
        display_ = nullptr;
        return OpenStandalone();
    }
    under_ = shown->Clone();
    shown_ = shown->Clone();
    if (under_ == nullptr || shown_ == nullptr) return false;
    const Size size = picture_.BoxSize();
    left_ = std::max(0, (shown_->Width() - size.cx) / 2);
    top_ = std::max(0, (shown_->Height() - size.cy) / 2);
    return true;
}

// Before the game's window shows anything: a window of the box's size, centred, above others.
bool MessageBoxWindow::OpenStandalone() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    videoStarted_ = true;
    if (Display::FellBackOnNoScreen()) return false;  // a box nobody can see would wait forever
    const Size size = picture_.BoxSize();
    shown_ = Surface::Create(size.cx, size.cy);
    if (shown_ == nullptr) return false;
    window_ = SDL_CreateWindow(ToUtf8(u"打字游戏").c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, size.cx,
                               size.cy, SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP);
    if (window_ == nullptr) return false;
    SDL_RaiseWindow(window_);
    g_standalone = shown_.get();
    return true;
}

void MessageBoxWindow::Redraw() {
    using State = MessageBoxPicture::ButtonState;
    State state = State::Normal;
    if (hover_) state = pressed_ ? State::Pressed : State::Hover;
    if (under_ != nullptr) shown_->CopyFast(0, 0, *under_, Rect{}, false);
    picture_.Draw(*shown_, left_, top_, state);
    if (display_ != nullptr) {
        display_->Present(*shown_);
        return;
    }
    SDL_Surface* target = SDL_GetWindowSurface(window_);
    if (target == nullptr) return;
    SDL_BlitSurface(shown_->Sdl(), nullptr, target, nullptr);
    SDL_UpdateWindowSurface(window_);
}

// Pointer positions arrive on the 800x600 screen; a window of its own shows the box at (0, 0).
void MessageBoxWindow::MapToBox(int32_t& x, int32_t& y) const {
    x -= left_;
    y -= top_;
}

bool MessageBoxWindow::Handle(const Message& m) {
    if (EndsProgram(m)) {
        MessageQueue::Instance().Post(m);
        return false;
    }
    int32_t x = m.X();
    int32_t y = m.Y();
    MapToBox(x, y);
    switch (m.message) {
    case WM_KEYDOWN:
        return m.wParam != VK_RETURN && m.wParam != VK_SPACE && m.wParam != VK_ESCAPE;
    case WM_MOUSEMOVE:
        hover_ = picture_.OnButton(x, y);
        return true;
    case WM_LBUTTONDOWN:
        hover_ = picture_.OnButton(x, y);
        pressed_ = hover_;
        return true;
    case WM_LBUTTONUP: {
        const bool click = pressed_ && picture_.OnButton(x, y);
        pressed_ = false;
        return !click;
    }
    default:
        return true;
    }
}

}  // namespace platform
