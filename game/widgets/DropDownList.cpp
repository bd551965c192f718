#include "widgets/DropDownList.h"

#include <algorithm>

#include "engine/GraphicEngine.h"
#include "engine/KeyedPicture.h"
#include "engine/SharedEngines.h"
#include "widgets/LeftButton.h"

namespace {

constexpr int32_t kBoxHeight = 22;
constexpr int32_t kRowHeight = 18;
constexpr int32_t kArrowWidth = 15;
constexpr int32_t kArrowHeight = 16;
constexpr uint32_t kOutline = 0x330000;
constexpr uint32_t kWhiteFill = 0xFFFFFFFF;  // every bit set
constexpr uint32_t kWhiteText = 0xFFFFFF;

}  // namespace

std::shared_ptr<DropDownList> DropDownList::Create() {
    auto list = std::shared_ptr<DropDownList>(new DropDownList());
    list->LoadPicture();
    return list;
}

void DropDownList::LoadPicture() { picture_ = KeyedPicture(g_Graphic.get(), "DROPDOWN_BUTTON", false); }

void DropDownList::AddItem(const std::u16string& text) {
    items_.back() = text;
    items_.emplace_back();
}

void DropDownList::ClearItems() { items_.assign(1, std::u16string()); }

void DropDownList::SetListIndex(int32_t index) {
    if (index >= 0 && index < ItemCount()) selected_ = index;
}

bool DropDownList::MouseDown(int32_t Button, int32_t X, int32_t Y) {
    if (Button != kLeftButton) return false;
    if (X <= Left || Y <= Top || X >= Left + Width) {
        open_ = false;
        return false;
    }
    if (Y < Top + Height) {
        open_ = !open_;
        return true;
    }
    // A press on the open list is taken; the choice is made on release.
    return open_ && Y < Top + Height + DropDownHeight;
}

void DropDownList::MouseMove(int32_t /*X*/, int32_t Y) {
    if (!open_) return;
    int32_t hot = (Y - Height - Top - 4) / kRowHeight;  // truncates toward zero
    hot = std::min(hot, ItemCount() - 1);
    hot_ = std::max(hot, 0);
}

bool DropDownList::MouseUp(int32_t Button, int32_t X, int32_t Y) {
    if (Button != kLeftButton || !open_ || !(X > Left) || !(Y > Top + Height) || !(X < Left + Width) ||
        !(Y < Top + Height + DropDownHeight)) {
        return false;
    }
    selected_ = hot_;
    open_ = false;
    return true;
}

void DropDownList::DrawEntry(int32_t index, int32_t y, uint32_t colorBgr) {
    // An index left over from before the items were cleared shows as the empty entry.
    bool valid = index >= 0 && static_cast<size_t>(index) < items_.size();
    g_Graphic->BeginText();
    g_Graphic->SetTextColor(colorBgr);
    g_Graphic->DrawText(Left + 2, y, valid ? items_[static_cast<size_t>(index)] : items_.back());
    g_Graphic->EndText();
}

void DropDownList::Draw() {
    if (!g_Graphic) return;
    g_Graphic->FillBox(Left, Top, Left + Width, Top + kBoxHeight, kOutline, kWhiteFill);
    if (picture_) {
        int32_t cell = open_ ? 0 : kArrowWidth;
        g_Graphic->DrawOpaque(Left + Width - 17, Top + 3, *picture_,
                              platform::Rect{cell, 0, cell + kArrowWidth, kArrowHeight});
    }
    DrawEntry(selected_, Top + 4, 0);
    if (!open_) return;

    int32_t listTop = Top + Height;
    g_Graphic->FillBox(Left, listTop, Left + Width, listTop + DropDownHeight, kOutline, kWhiteFill);
    g_Graphic->BeginText();
    g_Graphic->SetTextColor(0);
    for (int32_t i = 0; i < ItemCount(); ++i) {
        g_Graphic->DrawText(Left + 2, listTop + kRowHeight * i + 2, items_[static_cast<size_t>(i)]);
    }
    g_Graphic->EndText();
    int32_t hotTop = listTop + kRowHeight * hot_;
    g_Graphic->FillBox(Left + 2, hotTop, Left + Width - 2, hotTop + kRowHeight, 0, 0);
    DrawEntry(hot_, hotTop + 2, kWhiteText);
}
