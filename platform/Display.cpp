#include "platform/Display.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

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

bool SamePixels(const Surface& a, const Surface& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    const size_t rowBytes = static_cast<size_t>(a.Width()) * 2;
    for (int32_t y = 0; y < a.Height(); ++y) {
        if (std::memcmp(a.Pixels() + static_cast<size_t>(y) * a.PitchPixels(),
                        b.Pixels() + static_cast<size_t>(y) * b.PitchPixels(), rowBytes) != 0) {
            return false;
        }
    }
    return true;
}

}  // namespace

struct Display::Impl {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    SurfacePtr last;
    bool forcePresent = true;
    bool targetsReset = false;
    bool deviceReset = false;
    uint64_t uploads = 0;

    void DropTexture() {
        if (texture != nullptr) SDL_DestroyTexture(texture);
        texture = nullptr;
    }
    void DropRenderer() {
        DropTexture();
        if (renderer != nullptr) SDL_DestroyRenderer(renderer);
        renderer = nullptr;
    }

    bool MakeRenderer() {
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
        if (Headless()) {
            // Without a screen, a GL-backed window framebuffer only costs time.
            SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        } else {
            renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
        }
        if (renderer == nullptr) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
        if (renderer == nullptr) return false;
        SDL_RenderSetLogicalSize(renderer, kWidth, kHeight);
        return true;
    }

    bool MakeTexture() {
        texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, kWidth, kHeight);
        forcePresent = true;
        return texture != nullptr;
    }
};

Display::Display() : impl_(std::make_unique<Impl>()) {}

Display::~Display() {
    impl_->DropRenderer();
    if (impl_->window != nullptr) SDL_DestroyWindow(impl_->window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (g_current == this) g_current = nullptr;
}

bool Display::Available() { return IsSet("SDL_VIDEODRIVER") || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY"); }

std::unique_ptr<Display> Display::CreateWindow(const std::string& titleUtf8) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
    std::unique_ptr<Display> display(new Display());
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS;
    int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED, w = kWidth, h = kHeight;
    SDL_DisplayMode desktop;
    if (!WantWindowed() && !Headless() && SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
        // Full screen: the window already covers the desktop before it asks the window manager
        // for the full-screen state (Show), so the picture is scaled and letterboxed right even
        // where no window manager answers.
        x = 0;
        y = 0;
        w = desktop.w;
        h = desktop.h;
    }
    display->impl_->window = SDL_CreateWindow(titleUtf8.c_str(), x, y, w, h, flags);
    if (display->impl_->window == nullptr) return nullptr;  // the destructor ends the video use
    g_current = display.get();
    return display;
}

bool Display::InitRenderer() {
    impl_->DropRenderer();
    return impl_->MakeRenderer() && impl_->MakeTexture();
}

void Display::Show() {
    SDL_ShowWindow(impl_->window);
    if (!WantWindowed() && !Headless()) SDL_SetWindowFullscreen(impl_->window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_RaiseWindow(impl_->window);
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

bool Display::Present(const Surface& back) {
    if (impl_->texture == nullptr || IsLost()) return false;
    if (back.Width() != kWidth || back.Height() != kHeight) return false;
    if (!impl_->forcePresent && impl_->last != nullptr && SamePixels(back, *impl_->last)) return true;
    if (SDL_UpdateTexture(impl_->texture, nullptr, back.Pixels(), back.PitchPixels() * 2) != 0) return false;
    SDL_SetRenderDrawColor(impl_->renderer, 0, 0, 0, 255);
    SDL_RenderClear(impl_->renderer);
    if (SDL_RenderCopy(impl_->renderer, impl_->texture, nullptr, nullptr) != 0) return false;
    SDL_RenderPresent(impl_->renderer);
    if (impl_->last == nullptr) impl_->last = Surface::Create(kWidth, kHeight);
    if (impl_->last != nullptr) impl_->last->CopyFast(0, 0, back, Rect{}, false);
    impl_->forcePresent = false;
    ++impl_->uploads;
    return true;
}

bool Display::IsLost() const {
    if (impl_->targetsReset || impl_->deviceReset || impl_->renderer == nullptr) return true;
    const Uint32 flags = SDL_GetWindowFlags(impl_->window);
    return (flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) != 0;
}

bool Display::Restore() {
    if (impl_->deviceReset || impl_->renderer == nullptr) {
        impl_->DropRenderer();
        if (!impl_->MakeRenderer()) return false;
    } else {
        impl_->DropTexture();
    }
    if (!impl_->MakeTexture()) return false;
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

const Surface* Display::LastPresented() const { return impl_->last.get(); }
uint64_t Display::UploadCount() const { return impl_->uploads; }
Display* Display::Current() { return g_current; }
SDL_Window* Display::SdlWindow() const { return impl_->window; }

std::string Display::RendererName() const {
    SDL_RendererInfo info;
    if (impl_->renderer == nullptr || SDL_GetRendererInfo(impl_->renderer, &info) != 0) return "";
    return info.name;
}

}  // namespace platform
