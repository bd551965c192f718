#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Geometry.h"
#include "platform/Surface.h"

namespace platform {

// What a font handle is made from: the fields of a font record.
struct FontRequest {
    std::string faceAnsi;  // face name in the ANSI code page ("宋体", "Arial"); empty = default
    uint8_t charSet = 0;   // 134 = GB2312: the face must cover simplified Chinese
    int32_t height = 0;    // -N: an em of N pixels; +N: ascent + descent of N pixels; 0: default
    int32_t weight = 0;    // 600 and above is bold
    bool underline = false;
};

// A font handle: an opened TrueType face located with fontconfig. Faces are cached by file,
// size and style, and lookups by request, so creating another handle for a font seen before
// costs no file I/O. Rendered text lines are kept in a small cache as well.
class FontFace {
public:
    // Null when no face can be found or opened.
    static std::shared_ptr<FontFace> Create(const FontRequest& request);
    ~FontFace();

    // Extent of one line of text: its width and the line height (ascent + descent).
    Size Measure(const std::u16string& text) const;
    // Draws the text with its cell's top-left corner at (x, y), blended over what is there
    // (transparent background). Colour 0x00BBGGRR. With `clip`, nothing is drawn outside it.
    bool Draw(Surface& target, int32_t x, int32_t y, const std::u16string& text, uint32_t colorBgr,
              const Rect* clip = nullptr) const;

    int32_t LineHeight() const;
    int32_t Ascent() const;
    // The font file in use (tests and diagnostics).
    const std::string& File() const;

    // Tests and measuring tools: how many font files were opened so far, and how many text
    // lines were rendered (not taken from the cache).
    static uint64_t FilesOpened();
    static uint64_t LinesRendered();

    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    struct Face;

private:
    explicit FontFace(std::shared_ptr<Face> face);
    std::shared_ptr<Face> face_;
};

}  // namespace platform
