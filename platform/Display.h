#pragma once
#include <memory>
#include <string>

#include "platform/Surface.h"

union SDL_Event;
struct SDL_Window;

namespace platform {

// The game window and its presentation: a borderless window (full-screen desktop scaled to
// 800x600 with letterboxing, or with GLYPHOR_WINDOWED=1 an 800x600 window, smaller on a smaller
// screen). Where the machine has a GPU, a hardware renderer scales an RGB565 texture; elsewhere
// the changed parts of the back surface are drawn straight into the window's framebuffer.
// GLYPHOR_RENDERER=software or gpu overrides the choice.
class Display {
public:
    static constexpr int32_t kWidth = 800;
    static constexpr int32_t kHeight = 600;

    // True when there is a screen to open the window on: DISPLAY or WAYLAND_DISPLAY is set, or
    // SDL_VIDEODRIVER names a driver on purpose (offscreen and dummy run headless).
    static bool Available();
    // With the video system started: true when SDL fell back on a driver without a screen that
    // nobody asked for, because no display answers at DISPLAY or WAYLAND_DISPLAY. The reason is
    // then SDL's error.
    static bool FellBackOnNoScreen();
    // Creates the window, hidden. Null when the video system cannot start.
    static std::unique_ptr<Display> CreateWindow(const std::string& titleUtf8);
    ~Display();

    // Chooses and sets up the presentation path. False on failure.
    bool InitRenderer();
    // Shows and raises the window. The full-screen state is asked for after the next frame is
    // presented: where no window manager answers, SDL waits about 100 ms for one, and the
    // player should see the first picture before that, not after.
    void Show();
    // Restores a minimised window and raises it (a second start of the program asks for this).
    void RestoreAndRaise();
    void SetIcon(const Surface& icon);

    // Uploads and presents the back surface. Skipped when the surface is unchanged since the
    // last present, unless a present is forced (texture recreated, window exposed or resized).
    bool Present(const Surface& back);
    // The same for the game's back surface. After a present marked changed, the picture
    // is kept for the next compare by trading pixels with `back` instead of copying it, so
    // `back` then holds the picture presented before (every frame that moves the map draws
    // all of it again anyway).
    bool PresentBack(Surface& back);
    // The next present sends everything outside `still` without comparing it with the last
    // picture: the caller knows that it all changed (a map that scrolled), so the compare would
    // only confirm that. Inside `still` (a panel standing over the map) pixels are compared as
    // on any frame; an empty `still` marks the whole picture.
    void MarkChangedAround(const Rect& still);
    // True when the next present must upload the whole picture (window exposed, resized, restored).
    bool PresentForced() const;
    // True while the window is minimised or hidden, or the render device was reset.
    bool IsLost() const;
    // True while the window is minimised or hidden: nothing can be shown until it comes back.
    bool IsHidden() const;
    // Recreates what a reset lost (texture, renderer); forces the next present.
    bool Restore();

    // Window events from the platform message queue: exposed, resized and restored force the
    // next present; render-target and render-device resets make the display lost until Restore.
    void HandleEvent(const SDL_Event& event);
    // The same for the current display, in the form the message queue's window event handler
    // takes: MessageQueue::Instance().SetWindowEventHandler(&Display::DispatchWindowEvent).
    static void DispatchWindowEvent(const void* sdlEvent);

    // A pointer position in window pixels as a position on the 800x600 screen.
    void MapPointer(int32_t& x, int32_t& y) const;

    // What was presented last (for script snapshots); null before the first present.
    const Surface* LastPresented() const;
    // Counts presents that really uploaded (tests and the measuring tool read it).
    uint64_t UploadCount() const;

    // The display of the running program (null before one is created).
    static Display* Current();
    SDL_Window* SdlWindow() const;
    // The presentation path: "surface" for the window framebuffer, else the renderer SDL chose
    // ("opengl", "software", ...), for the measuring tools.
    std::string RendererName() const;

    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

private:
    Display();
    // Present; `exchange` (the back surface itself, or null) may trade pixels with the kept picture.
    bool PresentFrom(const Surface& back, Surface* exchange);
    // Keeps what was just presented for the next compare and for LastPresented.
    void Keep(const Surface& back, Surface* exchange, bool whole, bool marked);
    // This frame's rectangles when the caller marked it changed around a still part.
    void ChangedAround(const Surface& back);
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform
