#include "ads/OleString.h"

OleString::OleString(const std::u16string& text) {
    if (text.size() <= kOleStringMaxUnits) {
        text_ = SysAllocStringLen(text.data(), static_cast<std::uint32_t>(text.size()));
    }
}

BSTR* OleString::Slot() {
    SysFreeString(text_);
    text_ = nullptr;
    return &text_;
}

std::u16string OleString::Text() const {
    if (text_ == nullptr) return {};
    return std::u16string(text_, SysStringLen(text_));
}
