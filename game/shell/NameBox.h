#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/Surface.h"

class AniButton;
namespace platform {
struct Message;
}

// The modal box that asks for a line of text (a player's name), drawn over the current screen
// like the other dialogs: a title, a prompt, an edit field with a blinking caret and the buttons
// OK and Cancel. It takes its input from the thread's message queue: typed characters (also
// those an input method commits), Backspace, Enter for OK and Esc for Cancel. The default text
// opens selected, so typing replaces it.
class NameBox : public std::enable_shared_from_this<NameBox> {
public:
    // Where the box stands and what it holds, relative to the screen.
    static constexpr int32_t kLeft = 230;
    static constexpr int32_t kTop = 205;
    static constexpr int32_t kWidth = 340;
    static constexpr int32_t kFieldLeft = kLeft + 28;
    static constexpr int32_t kFieldTop = kTop + 88;
    static constexpr int32_t kFieldRight = kLeft + 312;
    static constexpr int32_t kFieldBottom = kTop + 116;
    static constexpr int32_t kPromptX = kLeft + 28;
    static constexpr int32_t kPromptY = kTop + 62;
    static constexpr int32_t kTitleY = kTop + 20;
    static constexpr int32_t kButtonTop = kTop + 136;
    static constexpr int32_t kOkLeft = kLeft + 70;
    static constexpr int32_t kCancelLeft = kLeft + 190;
    // The caret shows for this long, then hides for as long; typing shows it again at once.
    static constexpr uint32_t kBlinkMs = 500;
    // BGR: the blue behind a selected text, which is drawn white on it.
    static constexpr uint32_t kSelectionColor = 0xC06020;

    static std::shared_ptr<NameBox> Create();

    // Modal. Returns the text on OK (at most maxChars characters), std::nullopt on Cancel/Esc.
    std::optional<std::u16string> Show(const std::u16string& title, const std::u16string& prompt,
                                       const std::u16string& initial, int32_t maxChars);

    std::shared_ptr<AniButton> BtnOK;
    std::shared_ptr<AniButton> BtnCancel;

    bool Running() const { return running_; }
    const std::u16string& Text() const { return text_; }
    bool CaretShown() const;
    // The clock time at which the caret next shows or hides.
    uint32_t NextBlink() const;

private:
    NameBox() = default;
    void LoadPictures();
    void BtnOK_OnClick();
    void BtnCancel_OnClick();
    bool HandleMessage(const platform::Message& msg);
    void KeyDown(const platform::Message& msg);
    void Type(uint32_t ansiCode);
    void Erase();
    void DrawFrame();
    void DrawTexts();

    platform::SurfacePtr background_;
    std::u16string title_;
    std::u16string prompt_;
    std::u16string text_;
    int32_t maxChars_ = 0;
    uint32_t caretStart_ = 0;
    int32_t caretX_ = kFieldLeft;
    bool selected_ = false;  // the whole text, until a key edits it
    bool running_ = false;
    std::optional<std::u16string> result_;
};
