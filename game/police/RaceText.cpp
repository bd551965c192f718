#include "police/RaceText.h"

#include <algorithm>

#include "platform/CodePage.h"

void RaceText::SetText(std::u16string text) {
    text_ = std::move(text);
    ResetWindow();
}

void RaceText::ResetWindow() {
    windowTyped_.clear();
    windowRest_ = text_.substr(0, kWindow);
}

int32_t RaceText::AnsiCode(char16_t c) { return platform::AnsiCode(c); }

std::u16string RaceText::Typable(std::u16string text) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        // A character written as two units (an emoji) is one key to type.
        const bool pair =
            c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        if (pair) ++i;
        out.push_back(c < 0x20 || c == 0x7F || AnsiCode(c) < 0 ? kTypable : c);
    }
    return out;
}

bool RaceText::Matches(int32_t inputPos, int32_t keyAscii) const {
    if (inputPos < 0 || inputPos >= TextLength()) return false;
    const int32_t code = AnsiCode(text_[static_cast<size_t>(inputPos)]);
    return code >= 0 && code == keyAscii;
}

void RaceText::MoveWindow(int32_t typed) {
    const int32_t length = TextLength();
    const int32_t n = std::clamp(typed, 0, length);
    // Characters from..to, counted from 1.
    auto part = [this](int32_t from, int32_t to) {
        if (to < from) return std::u16string();
        return text_.substr(static_cast<size_t>(from - 1), static_cast<size_t>(to - from + 1));
    };
    if (n <= kHalfWindow) {
        windowTyped_ = part(1, n);
        windowRest_ = part(n + 1, std::min(kWindow, length));
    } else if (n <= length - kHalfWindow) {
        windowTyped_ = part(n - kHalfWindow + 1, n);
        windowRest_ = part(n + 1, n + kHalfWindow);
    } else {
        windowTyped_ = part(std::max(1, length - kWindow + 1), n);
        windowRest_ = part(n + 1, length);
    }
}
