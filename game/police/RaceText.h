#pragma once
#include <cstdint>
#include <string>

// The line the race is typed on, the key test and the 70-character window of it shown in the
// typing panel: the cursor moves right for the first 35 characters, then stays while the text
// scrolls under it, and in the last 35 characters the window stops and the cursor moves on.
class RaceText {
public:
    static constexpr int32_t kWindow = 70;
    static constexpr int32_t kHalfWindow = 35;

    // Takes a new race text and resets the window to its start.
    void SetText(std::u16string text);
    // Nothing typed: the window shows the first 70 characters.
    void ResetWindow();
    // True when `keyAscii` is the ANSI code of the character after the first `inputPos` ones.
    bool Matches(int32_t inputPos, int32_t keyAscii) const;
    // Moves the window on after `typed` characters were typed correctly.
    void MoveWindow(int32_t typed);

    const std::u16string& Text() const { return text_; }
    int32_t TextLength() const { return static_cast<int32_t>(text_.size()); }
    const std::u16string& WindowTyped() const { return windowTyped_; }
    const std::u16string& WindowRest() const { return windowRest_; }

    // The ANSI code a key must carry to type `c` (a double-byte character as lead*256+trail);
    // -1 for a character the ANSI code page cannot express.
    static int32_t AnsiCode(char16_t c);
    // Stands for every character no key can type.
    static constexpr char16_t kTypable = u'?';
    // `text` with every character the key test cannot accept (no ANSI code, or a control
    // character that Esc, Enter or no key at all would stand for) replaced by kTypable, so that
    // every race can be typed to its end.
    static std::u16string Typable(std::u16string text);

private:
    std::u16string text_;
    std::u16string windowTyped_;
    std::u16string windowRest_;
};
