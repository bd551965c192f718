#include "platform/MessageBoxPicture.h"

#include <algorithm>

#include "platform/CodePage.h"

namespace platform {
namespace {

constexpr int32_t kCaptionHeight = 26;
constexpr int32_t kMargin = 16;
constexpr int32_t kIconSide = 32;
constexpr int32_t kMaxTextWidth = 420;
constexpr int32_t kMinBoxWidth = 240;
constexpr size_t kMaxLines = 24;
constexpr int32_t kButtonWidth = 88;
constexpr int32_t kButtonHeight = 28;

constexpr uint32_t kCaptionColor = 0x00803A1E;
constexpr uint32_t kCaptionTextColor = 0x00FFFFFF;
constexpr uint32_t kFrameColor = 0x00503010;
constexpr uint32_t kErrorColor = 0x002020C8;
constexpr uint32_t kInformationColor = 0x00C07828;
constexpr uint32_t kButtonColor = 0x00E0E0E0;
constexpr uint32_t kButtonHoverColor = 0x00F8E8D0;
constexpr uint32_t kButtonPressedColor = 0x00D0B890;
constexpr uint32_t kButtonEdgeColor = 0x00707070;

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t'; }

void FillRect(Surface& target, int32_t left, int32_t top, int32_t width, int32_t height, uint32_t colorBgr) {
    target.Fill(Rect{left, top, left + width, top + height}, Surface::RawFromBgr(colorBgr));
}

}  // namespace

FontRequest MessageBoxPicture::TextFont() {
    FontRequest request;
    request.faceAnsi = ToAnsi(u"宋体");
    request.charSet = 134;
    request.height = -16;
    return request;
}

std::unique_ptr<MessageBoxPicture> MessageBoxPicture::Create(const std::u16string& text, const std::u16string& caption,
                                                             MessageIcon icon) {
    std::shared_ptr<FontFace> font = FontFace::Create(TextFont());
    if (font == nullptr) return nullptr;
    std::unique_ptr<MessageBoxPicture> picture(new MessageBoxPicture(std::move(font), caption, icon));
    picture->Layout(text);
    return picture;
}

MessageBoxPicture::MessageBoxPicture(std::shared_ptr<FontFace> font, std::u16string caption, MessageIcon icon)
    : font_(std::move(font)), caption_(std::move(caption)), icon_(icon) {}

void MessageBoxPicture::Layout(const std::u16string& text) {
    std::u16string paragraph;
    for (char16_t c : text) {
        if (c == u'\r') continue;
        if (c == u'\n') {
            WrapParagraph(paragraph, kMaxTextWidth);
            paragraph.clear();
            continue;
        }
        paragraph.push_back(c);
    }
    WrapParagraph(paragraph, kMaxTextWidth);
    if (lines_.size() > kMaxLines) {
        lines_.resize(kMaxLines);
        lines_.back() += u"…";
    }
    int32_t textWidth = font_->Measure(caption_).cx;
    for (const std::u16string& line : lines_) textWidth = std::max(textWidth, font_->Measure(line).cx);
    const int32_t iconSpace = icon_ == MessageIcon::None ? 0 : kIconSide + kMargin;
    textLeft_ = kMargin + iconSpace;
    const int32_t lineHeight = font_->LineHeight();
    const int32_t textHeight =
        std::max(static_cast<int32_t>(lines_.size()) * lineHeight, iconSpace > 0 ? kIconSide : 0);
    size_.cx = std::max(kMinBoxWidth, textLeft_ + textWidth + kMargin);
    size_.cy = kCaptionHeight + kMargin + textHeight + kMargin + kButtonHeight + kMargin;
    button_.left = (size_.cx - kButtonWidth) / 2;
    button_.top = size_.cy - kMargin - kButtonHeight;
    button_.right = button_.left + kButtonWidth;
    button_.bottom = button_.top + kButtonHeight;
}

// Greedy: each line takes as many characters as fit. When the next character does not fit, a
// Latin word in progress goes to the next line whole (if a space precedes it on this line);
// otherwise the line breaks right there, which suits Chinese and long paths alike.
void MessageBoxPicture::WrapParagraph(const std::u16string& paragraph, int32_t width) {
    std::u16string line;
    for (char16_t c : paragraph) {
        std::u16string longer = line + c;
        if (line.empty() || font_->Measure(longer).cx <= width) {
            line = std::move(longer);
            continue;
        }
        size_t cut = line.size();
        if (!IsSpace(c) && c < 0x2E80) {
            const size_t space = line.find_last_of(u" \t");
            const bool latinWord =
                space != std::u16string::npos && std::all_of(line.begin() + static_cast<std::ptrdiff_t>(space) + 1,
                                                             line.end(), [](char16_t w) { return w < 0x2E80; });
            if (latinWord && space > 0) cut = space + 1;
        }
        std::u16string rest = line.substr(cut);
        line.resize(cut);
        while (!line.empty() && IsSpace(line.back())) line.pop_back();
        lines_.push_back(line);
        line = rest + c;
        while (!line.empty() && IsSpace(line.front())) line.erase(line.begin());
    }
    lines_.push_back(line);
}

void MessageBoxPicture::Draw(Surface& target, int32_t left, int32_t top, ButtonState button) const {
    FillRect(target, left, top, size_.cx, size_.cy, kFaceColor);
    FillRect(target, left, top, size_.cx, kCaptionHeight, kCaptionColor);
    target.DrawBox(left, top, left + size_.cx, top + size_.cy, kFrameColor);
    const Rect captionClip{left + 1, top, left + size_.cx - 1, top + kCaptionHeight};
    const int32_t captionY = top + (kCaptionHeight - font_->LineHeight()) / 2;
    font_->Draw(target, left + kMargin / 2, captionY, caption_, kCaptionTextColor, &captionClip);
    const int32_t textTop = top + kCaptionHeight + kMargin;
    if (icon_ != MessageIcon::None) DrawIcon(target, left + kMargin, textTop);
    int32_t y = textTop;
    for (const std::u16string& line : lines_) {
        font_->Draw(target, left + textLeft_, y, line, kTextColor);
        y += font_->LineHeight();
    }
    DrawButton(target, left, top, button);
}

// A filled disc with a white cross (error) or a white "i" (information).
void MessageBoxPicture::DrawIcon(Surface& target, int32_t left, int32_t top) const {
    const uint32_t color = icon_ == MessageIcon::Error ? kErrorColor : kInformationColor;
    const int32_t r = kIconSide / 2;
    for (int32_t dy = -r; dy < r; ++dy) {
        for (int32_t dx = -r; dx < r; ++dx) {
            const int32_t fx = 2 * dx + 1;
            const int32_t fy = 2 * dy + 1;
            if (fx * fx + fy * fy <= 4 * r * r) FillRect(target, left + r + dx, top + r + dy, 1, 1, color);
        }
    }
    constexpr uint32_t kWhite = 0x00FFFFFF;
    if (icon_ == MessageIcon::Error) {
        for (int32_t i = -7; i <= 7; ++i) {
            FillRect(target, left + r + i - 1, top + r + i - 1, 3, 3, kWhite);
            FillRect(target, left + r + i - 1, top + r - i - 1, 3, 3, kWhite);
        }
        return;
    }
    FillRect(target, left + r - 2, top + 7, 4, 4, kWhite);
    FillRect(target, left + r - 2, top + 13, 4, 12, kWhite);
}

void MessageBoxPicture::DrawButton(Surface& target, int32_t left, int32_t top, ButtonState state) const {
    uint32_t color = kButtonColor;
    if (state == ButtonState::Hover) color = kButtonHoverColor;
    if (state == ButtonState::Pressed) color = kButtonPressedColor;
    const int32_t x = left + button_.left;
    const int32_t y = top + button_.top;
    FillRect(target, x, y, kButtonWidth, kButtonHeight, color);
    target.DrawBox(x, y, x + kButtonWidth, y + kButtonHeight, kButtonEdgeColor);
    const std::u16string ok = u"确定";
    const Size extent = font_->Measure(ok);
    const int32_t shift = state == ButtonState::Pressed ? 1 : 0;
    font_->Draw(target, x + (kButtonWidth - extent.cx) / 2 + shift, y + (kButtonHeight - extent.cy) / 2 + shift, ok,
                kTextColor);
}

bool MessageBoxPicture::OnButton(int32_t x, int32_t y) const {
    return x >= button_.left && x < button_.right && y >= button_.top && y < button_.bottom;
}

}  // namespace platform
