#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/Geometry.h"
#include "platform/ResourcePack.h"
#include "platform/Surface.h"

class AheadPictures;
class GameFont;
namespace platform {
class Display;
class FontFace;
}  // namespace platform

// Copy flags of the stretched copy. Only kCopySrcColorKey changes what is drawn; the wait and
// asynchronous flags are accepted as callers give them, and every copy is done when it returns.
constexpr uint32_t kCopyWait = 0x1000000;
constexpr uint32_t kCopyAsync = 0x200;
constexpr uint32_t kCopySrcColorKey = 0x8000;

// Draws on the display (which the shell owns): the back surface every drawing operation targets,
// the picture pack, text drawing and presentation. One instance, g_Graphic.
class GraphicEngine {
public:
    // Opens "GameRes.DLL" in the program's Game folder. When it is missing or not a readable
    // pack, shows "无法打开资源库" + path and ends the program with a non-zero status.
    GraphicEngine();
    // Tests: an engine over a given pack (null pack allowed) and no display.
    explicit GraphicEngine(std::unique_ptr<platform::ResourcePack> pack);
    ~GraphicEngine();

    // Opens the picture pack below the program folder; null when it cannot be opened, with the
    // message to show in `failureMessage`.
    static std::unique_ptr<platform::ResourcePack> OpenPicturePack(std::u16string& failureMessage);
    // The message of a failed display set-up: the reason the library gave and what to check
    // about the display.
    static std::u16string DisplayFailureMessage();
    // The message of a picture that cannot be loaded: it names the picture, whether it is
    // missing or cannot be decoded, and the pack.
    std::u16string PictureFailureMessage(const std::string& name) const;
    static std::u16string PictureFailureMessage(const platform::ResourcePack* pack, const std::string& name);
    // Shown once when no font face can be found for text at all.
    static const std::u16string& NoFontMessage();

    // Sets up presentation on the window and creates the 800x600 back surface. Shows the
    // display failure message and returns false on failure. A null display gives a headless
    // engine (back surface only; Present does nothing), used by tests.
    bool Init(platform::Display* display);

    // Loads the named picture into a new surface without colour key. Only the picture's header is
    // read here: its pixels are decoded in idle time (DecodeWhileIdle) or, at the latest, when it
    // is first drawn. A picture that is missing, or cannot be decoded at its first draw, shows
    // its message and ends the program with a non-zero status.
    bool LoadPicture(platform::SurfacePtr& out, const std::string& name);
    // Decodes loaded pictures that are not drawn yet, oldest first, while each one's expected
    // decoding time still ends before `deadline` (platform::Clock milliseconds): the frame loop
    // calls it before it waits, so a picture first drawn mid-game costs that frame nothing. A
    // picture that does not decode here is left for its first draw, which reports it. True when
    // it decoded a picture.
    bool DecodeWhileIdle(uint32_t deadline);
    // Starts decoding the named pictures on a helper thread, for the first screen while the
    // window opens: LoadPicture and DecodeWhileIdle then take them from there.
    void DecodeAhead(const std::vector<std::string>& names);

    // Text is drawn between BeginText and EndText only: SetTextColor and DrawText do nothing
    // while text is closed, and MeasureText gives 0 by 0. The colour last set while text was
    // open stays in use. Without a font set, a default face is used.
    void BeginText();
    void EndText();
    void SetFont(std::shared_ptr<GameFont> font);
    // The font the next BeginText uses; null for the default face.
    const std::shared_ptr<GameFont>& Font() const { return font_; }
    void SetTextColor(uint32_t colorBgr);
    bool DrawText(int32_t x, int32_t y, const std::u16string& text);
    // DrawText that leaves everything outside `clip` as it was.
    bool DrawTextClipped(int32_t x, int32_t y, const std::u16string& text, const platform::Rect& clip);
    platform::Size MeasureText(const std::u16string& text);
    // DrawTextClipped of a name: one too wide for `clip` is cut short and ends in "…", so the
    // player sees that it goes on.
    bool DrawTextFitted(int32_t x, int32_t y, const std::u16string& text, const platform::Rect& clip);
    // `text`, or as much of it as fits `width` pixels followed by "…".
    std::u16string FittedText(const std::u16string& text, int32_t width);

    bool FillBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t outlineBgr, uint32_t fill);
    bool DrawKeyed(int32_t x, int32_t y, const platform::Surface& picture, const platform::Rect& src);
    bool DrawOpaque(int32_t x, int32_t y, const platform::Surface& picture, const platform::Rect& src);
    // Colour-keyed copy clipped to the screen; `src` is changed in place.
    bool DrawKeyedClipped(int32_t x, int32_t y, const platform::Surface& picture, platform::Rect& src);
    bool StretchDraw(const platform::Rect& dest, const platform::Surface& picture, const platform::Rect& src,
                     uint32_t flags);
    bool Clear(uint32_t fill);
    // Shows the back surface. Its pixels are not kept for the next frame: after a frame marked
    // with MarkChangedAround it holds the picture before this one, so a screen draws all it
    // shows every frame.
    bool Present();
    // The back surface differs from the last presented picture everywhere outside `still` (a
    // map that scrolled under a panel): the next present sends that without comparing, and
    // compares only inside `still`.
    void MarkChangedAround(const platform::Rect& still);
    // Presents the back surface only when the window asked for it (exposed, resized, restored):
    // a skipped frame of a still screen still answers the window.
    bool PresentIfForced();
    bool IsLost();
    // Minimised or hidden: a lost display that must come back before it can be restored.
    bool IsHidden();
    bool RestoreSurfaces();

    platform::Surface& BackSurface() { return *back_; }
    bool TextOpen() const { return textOpen_; }
    uint32_t TextColor() const { return textColor_; }

private:
    struct PendingPicture {
        std::weak_ptr<const platform::Surface> picture;
        std::string entry;
    };

    // Shared with the pictures still waiting to be decoded.
    std::shared_ptr<platform::ResourcePack> pack_;
    std::deque<PendingPicture> pending_;
    std::shared_ptr<AheadPictures> ahead_;
    // Expected decoding cost, learnt from the pictures decoded so far.
    double nanosecondsPerPixel_ = 40.0;
    platform::Display* display_ = nullptr;
    platform::SurfacePtr back_;
    bool textOpen_ = false;
    std::shared_ptr<GameFont> font_;
    std::shared_ptr<platform::FontFace> face_;
    uint32_t textColor_ = 0;
};
