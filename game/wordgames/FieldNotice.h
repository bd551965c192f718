#pragma once
#include <cstdint>
#include <memory>
#include <string>

class GameFont;

// The notices a word game draws over its field, each legible over any picture: a small status
// line on a light panel, and a large word ringed with a contrasting outline ("暂停" over a
// paused field, the score of a finished game). The fonts are the notice's own, so drawing it
// changes no font of the game.
class FieldNotice {
public:
    FieldNotice();
    ~FieldNotice();

    // `text` with its top left corner at (x, y) on a light panel.
    void DrawStatusLine(int32_t x, int32_t y, const std::u16string& text);
    // `text` in large dark letters ringed with white, centred on (centreX, centreY).
    void DrawLarge(int32_t centreX, int32_t centreY, const std::u16string& text);

    static constexpr const char16_t* kPaused = u"暂停";
    // A whole number in digits.
    static std::u16string Number(int32_t value);

private:
    std::shared_ptr<GameFont> small_;
    std::shared_ptr<GameFont> large_;
};
