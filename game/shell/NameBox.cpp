#include "shell/NameBox.h"

#include <algorithm>

#include "engine/GraphicEngine.h"
#include "engine/KeyedPicture.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/Message.h"
#include "platform/MessageQueue.h"
#include "shell/DialogFrame.h"
#include "shell/Globals.h"
#include "shell/ModalLoop.h"
#include "widgets/AniButton.h"
#include "widgets/MouseRouting.h"

using platform::Message;

namespace {

constexpr uint32_t kTitleColor = 0xFFFFFF;
constexpr uint32_t kTextColor = 0;
constexpr uint32_t kFieldOutline = 0x804020;
constexpr uint32_t kWhiteFill = 0xFFFFFFFF;  // every bit set
constexpr int32_t kTextInset = 6;
constexpr int32_t kCaretWidth = 2;
constexpr int32_t kCaretInset = 4;

bool IsLeadSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsTrailSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Characters, not code units: a surrogate pair is one character.
int32_t CharacterCount(const std::u16string& text) {
    int32_t count = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (!(IsTrailSurrogate(text[i]) && i > 0 && IsLeadSurrogate(text[i - 1]))) ++count;
    }
    return count;
}

// The first `count` characters of `text`, never half a surrogate pair.
std::u16string FirstCharacters(const std::u16string& text, int32_t count) {
    size_t end = 0;
    for (int32_t taken = 0; taken < count && end < text.size(); ++taken) {
        end += (IsLeadSurrogate(text[end]) && end + 1 < text.size() && IsTrailSurrogate(text[end + 1])) ? 2 : 1;
    }
    return text.substr(0, end);
}

}  // namespace

std::shared_ptr<NameBox> NameBox::Create() {
    auto box = std::shared_ptr<NameBox>(new NameBox());
    NameBox* self = box.get();
    box->BtnOK = AniButton::Create([self] { self->BtnOK_OnClick(); });
    box->BtnCancel = AniButton::Create([self] { self->BtnCancel_OnClick(); });
    return box;
}

void NameBox::LoadPictures() {
    if (background_ || !g_Graphic) return;
    background_ = KeyedPicture(g_Graphic.get(), "NAME_DLG_BG", false);
    BtnOK->SetPicture("OK", 3, false);
    BtnCancel->SetPicture("CANCEL", 3, false);
}

std::optional<std::u16string> NameBox::Show(const std::u16string& title, const std::u16string& prompt,
                                            const std::u16string& initial, int32_t maxChars) {
    auto self = shared_from_this();
    LoadPictures();
    title_ = title;
    prompt_ = prompt;
    maxChars_ = std::max(maxChars, 0);
    text_ = FirstCharacters(initial, maxChars_);
    // The default answer stands selected: the first character typed replaces it, Backspace
    // clears it, Enter keeps it.
    selected_ = !text_.empty();
    BtnOK->Left = kOkLeft;
    BtnCancel->Left = kCancelLeft;
    BtnOK->Top = BtnCancel->Top = kButtonTop;
    caretStart_ = platform::Clock::Now();
    result_.reset();

    running_ = true;
    // Ending the program keeps the name the box shows, so a high score is never lost to it.
    if (RunModalLoop([this] { return running_; }, [this] { DrawFrame(); },
                     [this](const Message& msg) { return HandleMessage(msg); }, [this] { return NextBlink(); }))
        result_ = text_;
    return result_;
}

bool NameBox::CaretShown() const { return ((platform::Clock::Now() - caretStart_) / kBlinkMs) % 2 == 0; }

uint32_t NameBox::NextBlink() const {
    return caretStart_ + ((platform::Clock::Now() - caretStart_) / kBlinkMs + 1) * kBlinkMs;
}

void NameBox::BtnOK_OnClick() {
    result_ = text_;
    running_ = false;
}

void NameBox::BtnCancel_OnClick() {
    result_.reset();
    running_ = false;
}

bool NameBox::HandleMessage(const Message& msg) {
    switch (msg.message) {
    case platform::WM_KEYDOWN:
        KeyDown(msg);
        return true;
    case platform::WM_CHAR:
    case platform::WM_IME_CHAR:
        Type(msg.wParam);
        return true;
    case platform::WM_MOUSEMOVE:
    case platform::WM_LBUTTONDOWN:
    case platform::WM_LBUTTONUP:
        MouseRouting::Route(msg, BtnOK, BtnCancel);
        return true;
    case platform::WM_RBUTTONDOWN:
    case platform::WM_RBUTTONUP:
        return true;
    default:
        return false;
    }
}

// The editing keys act on their own; any other key is translated, so the characters it typed
// arrive as the next messages.
void NameBox::KeyDown(const Message& msg) {
    switch (msg.wParam) {
    case platform::VK_ESCAPE:
        BtnCancel_OnClick();
        break;
    case platform::VK_RETURN:
        BtnOK_OnClick();
        break;
    case platform::VK_BACK:
        Erase();
        break;
    default:
        platform::MessageQueue::Instance().Translate(msg);
        break;
    }
}

// A character message carries an ANSI code: one byte, or a double-byte character as
// lead * 256 + trail. Control characters are not text.
void NameBox::Type(uint32_t ansiCode) {
    if (ansiCode < 0x20 || ansiCode == 0x7F || ansiCode > 0xFFFF) return;
    std::string bytes;
    if (ansiCode > 0xFF) bytes.push_back(static_cast<char>(ansiCode >> 8));
    bytes.push_back(static_cast<char>(ansiCode & 0xFF));
    const std::u16string typed = platform::FromAnsi(bytes);
    if (typed.empty() || typed.find(u'\uFFFD') != std::u16string::npos) return;
    if (selected_) text_.clear();
    selected_ = false;
    if (CharacterCount(text_) + CharacterCount(typed) > maxChars_) return;
    text_ += typed;
    caretStart_ = platform::Clock::Now();
}

void NameBox::Erase() {
    if (selected_) text_.clear();
    selected_ = false;
    if (text_.empty()) return;
    const bool pair = text_.size() >= 2 && IsTrailSurrogate(text_.back()) && IsLeadSurrogate(text_[text_.size() - 2]);
    text_.resize(text_.size() - (pair ? 2 : 1));
    caretStart_ = platform::Clock::Now();
}

void NameBox::DrawFrame() {
    DialogFrame::Draw(background_, kLeft, kTop, [this](GraphicEngine& graphic) {
        // The screen behind keeps the font it chose.
        const auto screenFont = graphic.Font();
        graphic.FillBox(kFieldLeft, kFieldTop, kFieldRight, kFieldBottom, kFieldOutline, kWhiteFill);
        DrawTexts();
        if (CaretShown()) {
            graphic.FillBox(caretX_, kFieldTop + kCaretInset, caretX_ + kCaretWidth, kFieldBottom - kCaretInset,
                            kTextColor, kTextColor);
        }
        auto ok = BtnOK;
        auto cancel = BtnCancel;
        ok->Draw();
        cancel->Draw();
        graphic.SetFont(screenFont);
    });
}

void NameBox::DrawTexts() {
    auto graphic = g_Graphic;
    graphic->SetFont(g_SongFont);
    graphic->BeginText();
    graphic->SetTextColor(kTitleColor);
    const int32_t titleWidth = graphic->MeasureText(title_).cx;
    graphic->DrawText(kLeft + (kWidth - titleWidth) / 2, kTitleY, title_);
    graphic->SetTextColor(kTextColor);
    graphic->DrawText(kPromptX, kPromptY, prompt_);
    // A text wider than the field shows its end, where the caret is.
    const int32_t room = kFieldRight - kFieldLeft - 2 * kTextInset - kCaretWidth;
    std::u16string shown = text_;
    int32_t width = graphic->MeasureText(shown).cx;
    while (width > room && !shown.empty()) {
        shown.erase(0, shown.size() >= 2 && IsLeadSurrogate(shown[0]) ? 2 : 1);
        width = graphic->MeasureText(shown).cx;
    }
    const int32_t lineHeight = std::max(graphic->MeasureText(u"国").cy, 1);
    const int32_t textY = kFieldTop + (kFieldBottom - kFieldTop - lineHeight) / 2;
    if (selected_) {
        graphic->FillBox(kFieldLeft + kTextInset - 1, textY - 1, kFieldLeft + kTextInset + width + 1,
                         textY + lineHeight, kSelectionColor, platform::Surface::RawFromBgr(kSelectionColor));
        graphic->SetTextColor(kTitleColor);
    }
    graphic->DrawText(kFieldLeft + kTextInset, textY, shown);
    graphic->EndText();
    caretX_ = kFieldLeft + kTextInset + width + 1;
}
