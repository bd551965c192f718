#include "widgets/CheckBox.h"

#include "engine/GraphicEngine.h"
#include "engine/KeyedPicture.h"
#include "engine/SharedEngines.h"
#include "widgets/LeftButton.h"

namespace {
constexpr int32_t kCell = 20;
}

std::shared_ptr<CheckBox> CheckBox::Create() {
    auto box = std::shared_ptr<CheckBox>(new CheckBox());
    box->LoadPicture();
    return box;
}

void CheckBox::LoadPicture() { picture_ = KeyedPicture(g_Graphic.get(), "CHECKBOX_BUTTON", true); }

void CheckBox::RaiseChanged() {
    if (!OnChanged) return;
    auto self = shared_from_this();
    auto handler = OnChanged;
    handler();
}

void CheckBox::SetValue(bool value) {
    if (value == value_) return;
    cellOffset_ = value ? 2 * kCell : 0;
    value_ = value;
    RaiseChanged();
}

bool CheckBox::InBox(int32_t X, int32_t Y) const { return X > Left && Y > Top && X - Left < kCell && Y - Top < kCell; }

bool CheckBox::MouseDown(int32_t Button, int32_t X, int32_t Y) {
    if (Button != kLeftButton || !InBox(X, Y)) return false;
    bool wasChecked = value_;
    value_ = !value_;
    // The new state is shown under the pointer.
    cellOffset_ = wasChecked ? kCell : 3 * kCell;
    RaiseChanged();
    return true;
}

void CheckBox::MouseMove(int32_t X, int32_t Y) {
    int32_t hover = InBox(X, Y) ? kCell : 0;
    cellOffset_ = value_ ? hover + 2 * kCell : hover;
}

void CheckBox::Draw() {
    if (!g_Graphic) return;
    if (picture_) {
        g_Graphic->DrawKeyed(Left, Top, *picture_, platform::Rect{cellOffset_, 0, cellOffset_ + kCell, kCell});
    }
    g_Graphic->BeginText();
    g_Graphic->SetTextColor(0);
    g_Graphic->DrawText(Left + 22, Top + 4, Caption);
    g_Graphic->EndText();
}
