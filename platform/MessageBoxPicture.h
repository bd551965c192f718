#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/FontFace.h"
#include "platform/Geometry.h"
#include "platform/MessageBox.h"
#include "platform/Surface.h"

namespace platform {

// The picture of a message box: a caption bar, an icon for errors and information, the text
// wrapped to the box and an OK button. Text is drawn in the game's Chinese face. A line breaks
// at a space between Latin words, and anywhere else (between two Chinese characters, inside a
// path) when nothing better fits.
class MessageBoxPicture {
public:
    enum class ButtonState { Normal, Hover, Pressed };

    // Colours (0x00BBGGRR) of the box's face and of its text, for tests that compare pixels.
    static constexpr uint32_t kFaceColor = 0x00F0F0F0;
    static constexpr uint32_t kTextColor = 0x00000000;
    // The font request of the box's text and caption.
    static FontRequest TextFont();

    // Null when no font can be found (the caller then writes the text out instead).
    static std::unique_ptr<MessageBoxPicture> Create(const std::u16string& text, const std::u16string& caption,
                                                     MessageIcon icon);

    Size BoxSize() const { return size_; }
    // The text as laid out, one entry per line (tests and diagnostics).
    const std::vector<std::u16string>& Lines() const { return lines_; }
    // Draws the box with its top-left corner at (left, top).
    void Draw(Surface& target, int32_t left, int32_t top, ButtonState button) const;
    // Whether (x, y), relative to the box's top-left corner, is on the OK button.
    bool OnButton(int32_t x, int32_t y) const;

private:
    MessageBoxPicture(std::shared_ptr<FontFace> font, std::u16string caption, MessageIcon icon);
    void Layout(const std::u16string& text);
    void WrapParagraph(const std::u16string& paragraph, int32_t width);
    void DrawIcon(Surface& target, int32_t left, int32_t top) const;
    void DrawButton(Surface& target, int32_t left, int32_t top, ButtonState state) const;

    std::shared_ptr<FontFace> font_;
    std::u16string caption_;
    MessageIcon icon_;
    std::vector<std::u16string> lines_;
    Size size_{};
    Rect button_{};
    int32_t textLeft_ = 0;
};

}  // namespace platform
