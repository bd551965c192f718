#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {
class FontFace;
}

// One font described by a font record; the handle (an opened face) is created lazily: every
// setter marks the font changed, and the next GetHandle drops the old handle and makes a new one.
class GameFont {
public:
    struct Record {
        int32_t height = 0;  // negative: em height in pixels; positive: line height
        int32_t weight = 0;  // 0 default, 400 normal, 700 bold
        uint8_t underline = 0;
        uint8_t charSet = 0;              // 134 = GB2312
        std::array<char, 32> faceName{};  // ANSI bytes, zero-terminated
    };

    GameFont() = default;
    ~GameFont();

    // The game's Chinese face (黑体, GB2312) at `height`, bold when asked.
    static std::shared_ptr<GameFont> Chinese(int32_t height, bool bold = false);

    void SetFaceName(const std::u16string& name);
    void SetCharSet(uint8_t charSet);
    void SetHeight(int32_t height);
    void SetUnderline(uint8_t underline);
    void SetBold(bool bold);

    // The current handle, created on first use and after any change.
    std::shared_ptr<platform::FontFace> GetHandle();

    const Record& GetRecord() const { return record_; }
    // How many handles this font has created (tests read it).
    int32_t HandlesCreated() const { return handlesCreated_; }

private:
    Record record_;
    bool changed_ = false;
    std::shared_ptr<platform::FontFace> handle_;
    int32_t handlesCreated_ = 0;
};
