#pragma once
#include <memory>

#include "platform/Presenter.h"

struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Window;

namespace platform {

// Presentation through an SDL renderer: the back surface is uploaded to an RGB565 streaming
// texture, which the renderer scales (linear) and letterboxes onto the window.
class RendererPresenter : public Presenter {
public:
    // An accelerated renderer when `accelerated`, else SDL's software renderer. Null on failure.
    static std::unique_ptr<RendererPresenter> Create(SDL_Window* window, bool accelerated);
    ~RendererPresenter() override;

    bool Present(const Surface& back, const std::vector<Rect>& changed, bool whole) override;
    bool Restore(bool deviceReset) override;
    std::string Name() const override;
    // The OpenGL renderer string when the renderer draws with OpenGL, else empty.
    std::string GlRendererName() const;

    RendererPresenter(const RendererPresenter&) = delete;
    RendererPresenter& operator=(const RendererPresenter&) = delete;

private:
    RendererPresenter(SDL_Window* window, bool accelerated) : window_(window), accelerated_(accelerated) {}
    bool MakeRenderer();
    bool MakeTexture();
    void DropRenderer();

    SDL_Window* window_;
    bool accelerated_;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
};

}  // namespace platform
