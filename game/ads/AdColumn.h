#pragma once
#include <cstdint>
#include <memory>

class GameFont;

// The advertisement panel: draws its text on the back surface of g_Graphic. Its font (宋体,
// character set 134, height -14, underlined) and white text colour are prepared at creation
// and kept for a screen that adopts the panel; Show draws with the engine's current font and
// its own fixed colour. Top and Left are kept for that screen too; Show does not use them.
class AdColumn {
public:
    // The colour Show draws in (0x00BBGGRR: red 255, green 193, blue 0).
    static constexpr uint32_t kShowColor = 49663;
    static constexpr int32_t kShowX = 200;
    static constexpr int32_t kShowY = 350;

    AdColumn();
    ~AdColumn();
    AdColumn(const AdColumn&) = delete;
    AdColumn& operator=(const AdColumn&) = delete;

    int32_t Top() const { return top_; }
    void SetTop(int32_t lTop) { top_ = lTop; }
    int32_t Left() const { return left_; }
    void SetLeft(int32_t lLeft) { left_ = lLeft; }

    const std::shared_ptr<GameFont>& Font() const { return font_; }
    uint32_t TextColor() const { return textColor_; }

    void Show();

private:
    int32_t top_ = 0;
    int32_t left_ = 0;
    std::shared_ptr<GameFont> font_;
    uint32_t textColor_ = 0xFFFFFF;
};
