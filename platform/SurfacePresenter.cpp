#include "platform/SurfacePresenter.h"

#include <SDL.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <system_error>

namespace platform {
namespace {

constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 600;

SDL_Rect ToSdl(const Rect& r) { return SDL_Rect{r.left, r.top, r.Width(), r.Height()}; }

// Gives every page of `bytes` at `pixels` its memory now. One system call does it for the whole
// range in about half the time of a fault a page (kernels since 5.14); elsewhere each page is
// written once.
void TouchPages(void* pixels, size_t bytes) {
    const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<uintptr_t>(pixels);
    const uintptr_t first = (start + page - 1) / page * page;
    const uintptr_t end = (start + bytes) / page * page;
    if (end > first && madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE) == 0) return;
    std::memset(pixels, 0, bytes);
}

// Blackens what lies outside `view` in `frame`: the letterbox bars, and nothing the picture covers.
void FillBars(SDL_Surface* frame, const SDL_Rect& view) {
    const Uint32 black = SDL_MapRGB(frame->format, 0, 0, 0);
    const int32_t below = view.y + view.h;
    const int32_t right = view.x + view.w;
    const SDL_Rect bars[] = {{0, 0, frame->w, view.y},
                             {0, below, frame->w, frame->h - below},
                             {0, view.y, view.x, view.h},
                             {right, view.y, frame->w - right, view.h}};
    for (const SDL_Rect& bar : bars)
        if (bar.w > 0 && bar.h > 0) SDL_FillRect(frame, &bar, black);
}

}  // namespace

std::unique_ptr<SurfacePresenter> SurfacePresenter::Create(SDL_Window* window) {
    // The window's framebuffer is plain memory shown by the video driver, never a texture.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_Surface* frame = SDL_GetWindowSurface(window);
    if (frame == nullptr) return nullptr;
    std::unique_ptr<SurfacePresenter> presenter(new SurfacePresenter(window));
    // The framebuffer is fresh memory shared with the display server: the first write to each of
    // its pages costs a page fault, up to 15 ms for a full screen. A helper thread takes them
    // while the program loads its first screen; the first Present waits for it. Nothing else
    // touches the framebuffer until then, and it stays where it is until the next
    // SDL_GetWindowSurface, which only Present calls.
    try {
        presenter->touch_ = std::thread([pixels = frame->pixels, bytes = static_cast<size_t>(frame->pitch) * frame->h] {
            TouchPages(pixels, bytes);
        });
    } catch (const std::system_error&) {
        // No thread to spare: the first picture takes the page faults itself.
    }
    return presenter;
}

SurfacePresenter::SurfacePresenter(SDL_Window* window) : window_(window) {}

SurfacePresenter::~SurfacePresenter() {
    if (touch_.joinable()) touch_.join();
}

bool SurfacePresenter::Map(SDL_Surface* frame) {
    // A framebuffer too small for any picture is never taken as mapped: the copy made for the
    // last size must not write into it.
    mapped_ = nullptr;
    copy_.reset();
    const Rect view = ScaledCopy::Letterbox(kWidth, kHeight, frame->w, frame->h);
    if (view.Width() <= 0 || view.Height() <= 0) return false;
    mapped_ = frame;
    mappedWidth_ = frame->w;
    mappedHeight_ = frame->h;
    const SDL_PixelFormat* f = frame->format;
    const bool eightBitChannels = f->BytesPerPixel == 4 && f->Rloss == 0 && f->Gloss == 0 && f->Bloss == 0;
    if (eightBitChannels) {
        copy_ = std::make_unique<ScaledCopy>(kWidth, kHeight, view,
                                             ScaledCopy::Format{f->Rshift, f->Gshift, f->Bshift, f->Amask});
    }
    return true;
}

bool SurfacePresenter::Present(const Surface& back, const std::vector<Rect>& changed, bool whole) {
    if (touch_.joinable()) touch_.join();
    SDL_Surface* frame = SDL_GetWindowSurface(window_);
    if (frame == nullptr) return false;
    if (frame != mapped_ || frame->w != mappedWidth_ || frame->h != mappedHeight_) {
        if (!Map(frame)) return false;
        whole = true;
    }
    if (copy_ == nullptr) return DrawGeneric(frame, back, changed, whole);

    // Only the rectangles drawn are sent to the screen; the list keeps its room between frames.
    shown_.clear();
    if (SDL_MUSTLOCK(frame) && SDL_LockSurface(frame) != 0) return false;
    auto* pixels = static_cast<uint32_t*>(frame->pixels);
    const int32_t pitch = frame->pitch / 4;
    if (whole) {
        // Letterbox bars, then the picture.
        FillBars(frame, ToSdl(copy_->DestRect(Rect{0, 0, kWidth, kHeight})));
        copy_->Copy(back, Rect{0, 0, kWidth, kHeight}, pixels, pitch);
        shown_.push_back(SDL_Rect{0, 0, frame->w, frame->h});
    } else {
        for (const Rect& src : changed) {
            copy_->Copy(back, src, pixels, pitch);
            shown_.push_back(ToSdl(copy_->DestRect(src)));
        }
    }
    if (SDL_MUSTLOCK(frame)) SDL_UnlockSurface(frame);
    return SDL_UpdateWindowSurfaceRects(window_, shown_.data(), static_cast<int>(shown_.size())) == 0;
}

void SurfacePresenter::MapPointer(int32_t& x, int32_t& y) const {
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window_, &width, &height);
    const Rect view = ScaledCopy::Letterbox(kWidth, kHeight, width, height);
    // Only a window the picture fills exactly needs nothing: an 800x600 picture between bars
    // (a 1024x600 screen) is still moved by the bar.
    if (view.Width() <= 0 || view.Height() <= 0 ||
        (view.left == 0 && view.top == 0 && view.Width() == kWidth && view.Height() == kHeight))
        return;
    x = std::clamp(static_cast<int32_t>(static_cast<int64_t>(x - view.left) * kWidth / view.Width()), 0, kWidth - 1);
    y = std::clamp(static_cast<int32_t>(static_cast<int64_t>(y - view.top) * kHeight / view.Height()), 0, kHeight - 1);
}

bool SurfacePresenter::DrawGeneric(SDL_Surface* frame, const Surface& back, const std::vector<Rect>& changed,
                                   bool whole) {
    // A framebuffer of another depth: SDL converts and scales, more slowly.
    SDL_Rect view = ToSdl(ScaledCopy::Letterbox(kWidth, kHeight, frame->w, frame->h));
    if (whole || !changed.empty()) {
        SDL_FillRect(frame, nullptr, SDL_MapRGB(frame->format, 0, 0, 0));
        if (SDL_BlitScaled(back.Sdl(), nullptr, frame, &view) != 0) return false;
    }
    return SDL_UpdateWindowSurface(window_) == 0;
}

}  // namespace platform
