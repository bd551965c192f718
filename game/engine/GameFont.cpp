#include "engine/GameFont.h"

#include <algorithm>

#include "platform/CodePage.h"
#include "platform/FontFace.h"

GameFont::~GameFont() = default;

void GameFont::SetFaceName(const std::u16string& name) {
    const std::string ansi = platform::ToAnsi(name);
    // The field keeps 31 bytes and its terminating zero; longer names are cut.
    record_.faceName.fill(0);
    std::copy_n(ansi.begin(), std::min(ansi.size(), record_.faceName.size() - 1), record_.faceName.begin());
    changed_ = true;
}

void GameFont::SetCharSet(uint8_t charSet) {
    record_.charSet = charSet;
    changed_ = true;
}

void GameFont::SetHeight(int32_t height) {
    record_.height = height;
    changed_ = true;
}

void GameFont::SetUnderline(uint8_t underline) {
    record_.underline = underline;
    changed_ = true;
}

std::shared_ptr<GameFont> GameFont::Chinese(int32_t height, bool bold) {
    auto font = std::make_shared<GameFont>();
    font->SetFaceName(u"黑体");
    font->SetCharSet(134);
    font->SetHeight(height);
    if (bold) font->SetBold(true);
    return font;
}

void GameFont::SetBold(bool bold) {
    record_.weight = bold ? 700 : 400;
    changed_ = true;
}

std::shared_ptr<platform::FontFace> GameFont::GetHandle() {
    if (changed_ && handle_ != nullptr) handle_.reset();
    if (handle_ == nullptr) {
        platform::FontRequest request;
        request.faceAnsi = std::string(record_.faceName.data());
        request.charSet = record_.charSet;
        request.height = record_.height;
        request.weight = record_.weight;
        request.underline = record_.underline != 0;
        handle_ = platform::FontFace::Create(request);
        if (handle_ != nullptr) ++handlesCreated_;
        changed_ = false;
    }
    return handle_;
}
