#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Surface.h"

class AniButton;
namespace platform {
struct Message;
}

// The modal question box drawn over the current screen. Show runs its own message loop and
// returns the answer: 0 BtnNext, 1 BtnRePlay, 2 BtnEnd.
class MessageDlg : public std::enable_shared_from_this<MessageDlg> {
public:
    static constexpr int32_t kNext = 0;
    static constexpr int32_t kRePlay = 1;
    static constexpr int32_t kEnd = 2;

    static std::shared_ptr<MessageDlg> Create();

    // Background (drawn opaque) and the three 3-frame button strips.
    void SetPictures(const std::string& background, const std::string& replay, const std::string& next,
                     const std::string& end);
    // Lines of figures the next Show draws under its text (it forgets them when it returns).
    void SetFigures(std::vector<std::u16string> lines) { figures_ = std::move(lines); }
    // Modal: returns when a button was chosen. Every caller passes x = 240, y = 212.
    int32_t Show(const std::u16string& text, int32_t x, int32_t y, bool showNext);

    std::shared_ptr<AniButton> BtnNext;
    std::shared_ptr<AniButton> BtnEnd;
    std::shared_ptr<AniButton> BtnRePlay;

    bool Running() const { return running_; }

private:
    MessageDlg() = default;
    void BtnNext_OnClick();
    void BtnRePlay_OnClick();
    void BtnEnd_OnClick();
    bool HandleMessage(const platform::Message& msg);
    void KeyDown(uint32_t key);
    void Mouse(const platform::Message& msg);
    void DrawFrame();

    platform::SurfacePtr background_;
    std::u16string text_;
    std::vector<std::u16string> figures_;
    bool showNext_ = false;
    int32_t x_ = 0;
    int32_t y_ = 0;
    bool running_ = false;
    int32_t result_ = 0;
};
