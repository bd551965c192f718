#include "platform/RendererPresenter.h"

#include <SDL.h>

#include <cstring>

namespace platform {
namespace {

constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 600;
constexpr unsigned kGlRenderer = 0x1F01;

}  // namespace

std::unique_ptr<RendererPresenter> RendererPresenter::Create(SDL_Window* window, bool accelerated) {
    std::unique_ptr<RendererPresenter> presenter(new RendererPresenter(window, accelerated));
    if (!presenter->MakeRenderer() || !presenter->MakeTexture()) return nullptr;
    return presenter;
}

RendererPresenter::~RendererPresenter() { DropRenderer(); }

bool RendererPresenter::MakeRenderer() {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    renderer_ = SDL_CreateRenderer(window_, -1, accelerated_ ? SDL_RENDERER_ACCELERATED : SDL_RENDERER_SOFTWARE);
    if (renderer_ == nullptr) return false;
    SDL_RenderSetLogicalSize(renderer_, kWidth, kHeight);
    return true;
}

bool RendererPresenter::MakeTexture() {
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, kWidth, kHeight);
    return texture_ != nullptr;
}

void RendererPresenter::DropRenderer() {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    texture_ = nullptr;
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    renderer_ = nullptr;
}

bool RendererPresenter::Present(const Surface& back, const std::vector<Rect>& changed, bool whole) {
    if (texture_ == nullptr) return false;
    const int pitch = back.PitchPixels() * 2;
    if (whole) {
        if (SDL_UpdateTexture(texture_, nullptr, back.Pixels(), pitch) != 0) return false;
    } else {
        for (const Rect& r : changed) {
            const SDL_Rect area{r.left, r.top, r.Width(), r.Height()};
            const uint16_t* from = back.Pixels() + static_cast<size_t>(r.top) * back.PitchPixels() + r.left;
            if (SDL_UpdateTexture(texture_, &area, from, pitch) != 0) return false;
        }
    }
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    if (SDL_RenderCopy(renderer_, texture_, nullptr, nullptr) != 0) return false;
    SDL_RenderPresent(renderer_);
    return true;
}

bool RendererPresenter::Restore(bool deviceReset) {
    if (deviceReset || renderer_ == nullptr) {
        DropRenderer();
        if (!MakeRenderer()) return false;
    } else if (texture_ != nullptr) {
        SDL_DestroyTexture(texture_);
        texture_ = nullptr;
    }
    return MakeTexture();
}

std::string RendererPresenter::Name() const {
    SDL_RendererInfo info;
    if (renderer_ == nullptr || SDL_GetRendererInfo(renderer_, &info) != 0) return "";
    return info.name;
}

std::string RendererPresenter::GlRendererName() const {
    if (std::strncmp(Name().c_str(), "opengl", 6) != 0) return "";
    // The renderer's context is current after its creation.
    using GetString = const unsigned char* (*)(unsigned);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    if (getString == nullptr) return "";
    const unsigned char* text = getString(kGlRenderer);
    return text != nullptr ? reinterpret_cast<const char*>(text) : "";
}

}  // namespace platform
