#include "platform/Display.h"

#include <SDL.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/ChangedRegion.h"
#include "platform/MessageQueue.h"
#include "platform/RendererPresenter.h"
#include "platform/SurfacePresenter.h"
#include "platform/WindowSystemWait.h"

namespace platform {
namespace {

Display* g_current = nullptr;

bool WantWindowed() {
    const char* v = std::getenv("GLYPHOR_WINDOWED");
    return v != nullptr && std::strcmp(v, "1") == 0;
}

// The offscreen and dummy drivers have no screen: presentation stays unscaled and in software.
bool Headless() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

bool IsSet(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0';
}

const char* Variable(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr ? v : "";
}

// A device node of a graphics card or GPU driver. Without one, OpenGL would run on a software
// rasteriser, which costs far more than drawing into the window's framebuffer.
bool HasGpuDevice() {
    namespace fs = std::filesystem;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/dev/dri", error)) {
        if (entry.path().filename().string().starts_with("renderD")) return true;
    }
    return fs::exists("/dev/nvidia0", error);
}

bool IsSoftwareGl(const std::string& glRenderer) {
    std::string name = glRenderer;
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* software : {"llvmpipe", "softpipe", "swrast", "software"}) {
        if (name.find(software) != std::string::npos) return true;
    }
    return false;
}

// GLYPHOR_RENDERER=software or gpu chooses the path; otherwise the machine does.
std::string RendererChoice() {
    const char* v = std::getenv("GLYPHOR_RENDERER");
    return v != nullptr ? v : "";
}

std::unique_ptr<Presenter> MakePresenter(SDL_Window* window) {
    const std::string choice = RendererChoice();
    const bool wantGpu = choice == "gpu" || (choice != "software" && !Headless() && HasGpuDevice());
    if (wantGpu) {
        auto gpu = RendererPresenter::Create(window, true);
        if (gpu != nullptr && (choice == "gpu" || !IsSoftwareGl(gpu->GlRendererName()))) return gpu;
    }
    if (auto surface = SurfacePresenter::Create(window)) return surface;
    return RendererPresenter::Create(window, false);
}

// Where the window opens. Full screen: the window already covers the desktop before it asks the
// window manager for the full-screen state (Show), so the picture is scaled and letterboxed right
// even where no window manager answers. A window is the game's size, or on a smaller screen the
// largest of its shape that fits, which the picture is scaled down to.
SDL_Rect WindowPlace() {
    SDL_Rect place{SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, Display::kWidth, Display::kHeight};
    if (Headless()) return place;
    if (!WantWindowed()) {
        SDL_DisplayMode desktop;
        if (SDL_GetDesktopDisplayMode(0, &desktop) == 0) place = {0, 0, desktop.w, desktop.h};
        return place;
    }
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w > 0 && usable.h > 0 &&
        (usable.w < place.w || usable.h < place.h)) {
        place.w = std::min(usable.w, usable.h * Display::kWidth / Display::kHeight);
        place.h = place.w * Display::kHeight / Display::kWidth;
    }
    return place;
}

}  // namespace

struct Display::Impl {
    SDL_Window* window = nullptr;
    std::unique_ptr<Presenter> presenter;
    SurfacePtr last;
    std::vector<Rect> changed;  // this frame's changed rectangles, room kept between frames
    std::vector<Rect> found;    // those the compare found inside the still part
    Rect still;                 // with marked: the part that is compared all the same
    bool forcePresent = true;
    bool marked = false;             // the next present sends all outside `still` without comparing
    bool fullScreenPending = false;  // asked for once the first frame after Show is on screen
    bool targetsReset = false;
    bool deviceReset = false;
    uint64_t uploads = 0;
};

Display::Display() : impl_(std::make_unique<Impl>()) {}

Display::~Display() {
    impl_->presenter.reset();
    MessageQueue::Instance().UseWindow(nullptr);
    if (impl_->window != nullptr) SDL_DestroyWindow(impl_->window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (g_current == this) g_current = nullptr;
}

bool Display::Available() { return IsSet("SDL_VIDEODRIVER") || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY"); }

bool Display::FellBackOnNoScreen() {
    if (IsSet("SDL_VIDEODRIVER") || !Headless()) return false;
    SDL_SetError("no display answers at DISPLAY=%s WAYLAND_DISPLAY=%s", Variable("DISPLAY"),
                 Variable("WAYLAND_DISPLAY"));
    return true;
}

std::unique_ptr<Display> Display::CreateWindow(const std::string& titleUtf8) {
    // The presenters' settings are made here, before any SDL thread runs: the sound thread reads
    // the settings list as it starts, and a setting first made while it does races with it.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    // With only an X display named, only X is tried: a Wayland attempt would fail and print its
    // own lines before the game's message when that display does not answer.
    const bool onlyX = !IsSet("SDL_VIDEODRIVER") && !IsSet("WAYLAND_DISPLAY") && IsSet("DISPLAY");
    if (onlyX) SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11", SDL_HINT_OVERRIDE);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (onlyX) SDL_SetError("no display answers at DISPLAY=%s", Variable("DISPLAY"));
        return nullptr;
    }
    // The game would run unseen, holding its one copy.
    if (FellBackOnNoScreen()) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    WindowSystemWait::EndOnHangUp();
    std::unique_ptr<Display> display(new Display());
    const SDL_Rect place = WindowPlace();
    display->impl_->window = SDL_CreateWindow(titleUtf8.c_str(), place.x, place.y, place.w, place.h,
                                              SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS);
    if (display->impl_->window == nullptr) return nullptr;  // the destructor ends the video use
    MessageQueue::Instance().UseWindow(display->impl_->window);
    g_current = display.get();
    return display;
}

bool Display::InitRenderer() {
    impl_->presenter.reset();
    impl_->presenter = MakePresenter(impl_->window);
    impl_->forcePresent = true;
    return impl_->presenter != nullptr;
}

void Display::Show() {
    SDL_ShowWindow(impl_->window);
    SDL_RaiseWindow(impl_->window);
    impl_->fullScreenPending = !WantWindowed() && !Headless();
    impl_->forcePresent = true;
}

void Display::RestoreAndRaise() {
    SDL_ShowWindow(impl_->window);
    SDL_RestoreWindow(impl_->window);
    SDL_RaiseWindow(impl_->window);
    impl_->forcePresent = true;
}

void Display::SetIcon(const Surface& icon) {
    SDL_Surface* copy = SDL_CreateRGBSurfaceWithFormat(0, icon.Width(), icon.Height(), 16, SDL_PIXELFORMAT_RGB565);
    if (copy == nullptr) return;
    SDL_BlitSurface(icon.Sdl(), nullptr, copy, nullptr);
    // Black is the transparent colour of the icon picture.
    SDL_SetColorKey(copy, SDL_TRUE, 0);
    SDL_SetWindowIcon(impl_->window, copy);
    SDL_FreeSurface(copy);
}

bool Display::Present(const Surface& back) { return PresentFrom(back, nullptr); }

bool Display::PresentBack(Surface& back) { return PresentFrom(back, &back); }

bool Display::PresentFrom(const Surface& back, Surface* exchange) {
    if (impl_->presenter == nullptr || IsLost()) return false;
    if (back.Width() != kWidth || back.Height() != kHeight) return false;
    const bool whole = impl_->forcePresent || impl_->last == nullptr;
    const bool marked = !whole && impl_->marked;
    std::vector<Rect>& changed = impl_->changed;
    changed.clear();
    if (marked) {
        ChangedAround(back);
    } else if (!whole) {
        ChangedRegion::Find(back, *impl_->last, changed);
        if (changed.empty()) return true;
    }
    impl_->marked = false;
    if (!impl_->presenter->Present(back, changed, whole)) return false;
    Keep(back, exchange, whole, marked);
    impl_->forcePresent = false;
    ++impl_->uploads;
    if (impl_->fullScreenPending) {
        impl_->fullScreenPending = false;
        SDL_SetWindowFullscreen(impl_->window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
    return true;
}

void Display::Keep(const Surface& back, Surface* exchange, bool whole, bool marked) {
    if (impl_->last == nullptr) impl_->last = Surface::Create(kWidth, kHeight);
    if (impl_->last == nullptr) return;
    if (marked && exchange != nullptr && impl_->last->ExchangePixels(*exchange)) return;
    if (whole) impl_->changed.assign(1, Rect{0, 0, kWidth, kHeight});
    for (const Rect& r : impl_->changed) impl_->last->CopyFast(r.left, r.top, back, r, false);
}

void Display::ChangedAround(const Surface& back) {
    const Rect& s = impl_->still;
    std::vector<Rect>& changed = impl_->changed;
    if (impl_->last == nullptr || s.Width() <= 0 || s.Height() <= 0) {
        changed.push_back(Rect{0, 0, kWidth, kHeight});
        return;
    }
    // The bands above and below the still part, then its sides, then what changed inside it.
    for (const Rect& r : {Rect{0, 0, kWidth, s.top}, Rect{0, s.top, s.left, s.bottom},
                          Rect{s.right, s.top, kWidth, s.bottom}, Rect{0, s.bottom, kWidth, kHeight}}) {
        if (r.Width() > 0 && r.Height() > 0) changed.push_back(r);
    }
    ChangedRegion::Find(back, *impl_->last, s, impl_->found);
    changed.insert(changed.end(), impl_->found.begin(), impl_->found.end());
}

void Display::MarkChangedAround(const Rect& still) {
    impl_->marked = true;
    impl_->still = Rect{std::clamp(still.left, 0, kWidth), std::clamp(still.top, 0, kHeight),
                        std::clamp(still.right, 0, kWidth), std::clamp(still.bottom, 0, kHeight)};
}

bool Display::PresentForced() const { return impl_->forcePresent; }

bool Display::IsLost() const {
    return impl_->targetsReset || impl_->deviceReset || impl_->presenter == nullptr || IsHidden();
}

bool Display::IsHidden() const {
    return (SDL_GetWindowFlags(impl_->window) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) != 0;
}

bool Display::Restore() {
    if (impl_->presenter == nullptr) {
        impl_->presenter = MakePresenter(impl_->window);
        if (impl_->presenter == nullptr) return false;
    } else if (!impl_->presenter->Restore(impl_->deviceReset)) {
        return false;
    }
    impl_->forcePresent = true;
    impl_->deviceReset = false;
    impl_->targetsReset = false;
    return true;
}

void Display::HandleEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_WINDOWEVENT:
        if (event.window.windowID != SDL_GetWindowID(impl_->window)) return;
        switch (event.window.event) {
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_RESIZED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
            impl_->forcePresent = true;
            break;
        default:
            break;
        }
        break;
    case SDL_RENDER_TARGETS_RESET:
        impl_->targetsReset = true;
        break;
    case SDL_RENDER_DEVICE_RESET:
        impl_->deviceReset = true;
        break;
    default:
        break;
    }
}

void Display::DispatchWindowEvent(const void* sdlEvent) {
    if (g_current != nullptr && sdlEvent != nullptr) g_current->HandleEvent(*static_cast<const SDL_Event*>(sdlEvent));
}

void Display::MapPointer(int32_t& x, int32_t& y) const {
    if (impl_->presenter != nullptr) impl_->presenter->MapPointer(x, y);
}

const Surface* Display::LastPresented() const { return impl_->last.get(); }
uint64_t Display::UploadCount() const { return impl_->uploads; }
Display* Display::Current() { return g_current; }
SDL_Window* Display::SdlWindow() const { return impl_->window; }

std::string Display::RendererName() const { return impl_->presenter != nullptr ? impl_->presenter->Name() : ""; }

}  // namespace platform
