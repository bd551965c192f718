#include "widgets/SlideBar.h"

#include <cmath>
#include <limits>
#include <string>

#include "engine/GraphicEngine.h"
#include "engine/KeyedPicture.h"
#include "engine/SharedEngines.h"
#include "widgets/LeftButton.h"

namespace {

constexpr int32_t kKnobWidth = 11;
constexpr int32_t kKnobHeight = 23;
constexpr uint32_t kTagFill = 0xFF66FF00;

// " 50" for values of 0 and above, "-3" below.
std::u16string ValueTag(int32_t value) {
    // Built character by character: GCC 12 at -O3 misreads `" " + std::to_string(...)` as an
    // overlapping copy.
    std::u16string tag;
    if (value >= 0) tag.push_back(u' ');
    for (const char digit : std::to_string(value)) tag.push_back(static_cast<char16_t>(digit));
    return tag;
}

}  // namespace

int32_t RoundHalfEven(double value) {
    if (std::isnan(value)) return 0;
    double floor = std::floor(value);
    double fraction = value - floor;
    double rounded = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0)) rounded = floor + 1.0;
    if (rounded <= std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    if (rounded >= std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(rounded);
}

std::shared_ptr<SlideBar> SlideBar::Create() {
    auto bar = std::shared_ptr<SlideBar>(new SlideBar());
    bar->LoadPicture();
    return bar;
}

void SlideBar::LoadPicture() {
    track_ = KeyedPicture(g_Graphic.get(), "SLIDER_BG", true);
    knob_ = KeyedPicture(g_Graphic.get(), "SLIDER_SLIDER", true);
}

int32_t SlideBar::ComputeKnobX() const {
    // An empty range would divide by zero; the knob then stays at the track's start.
    double span = static_cast<double>(MaxValue) - MinValue;
    double part = span != 0.0 ? (static_cast<double>(Value) - MinValue) / span : 0.0;
    return RoundHalfEven(part * Width + Left - 5);
}

void SlideBar::Clamp() {
    if (Value < MinValue) Value = MinValue;
    if (Value > MaxValue) Value = MaxValue;
}

void SlideBar::Draw() {
    knobX_ = ComputeKnobX();
    if (!g_Graphic) return;
    if (track_) {
        g_Graphic->StretchDraw(platform::Rect{Left, Top + 8, Left + Width, Top + 11}, *track_, platform::Rect{},
                               kCopyWait | kCopySrcColorKey);
    }
    if (dragging_) {
        g_Graphic->FillBox(knobX_ - 10, Top - 20, knobX_ + 20, Top - 2, 0, kTagFill);
        g_Graphic->BeginText();
        g_Graphic->SetTextColor(0);
        g_Graphic->DrawText(knobX_ - 11, Top - 18, ValueTag(Value));
        g_Graphic->EndText();
    }
    if (knob_) {
        int32_t cell = dragging_ ? kKnobWidth : 0;
        g_Graphic->DrawKeyed(knobX_, Top, *knob_, platform::Rect{cell, 0, cell + kKnobWidth, kKnobHeight});
    }
}

bool SlideBar::MouseDown(int32_t Button, int32_t X, int32_t Y) {
    if (Button != kLeftButton || !(Top < Y && Y <= Top + 20) || !(Left - 5 < X && X <= Left + Width + 5)) {
        return false;
    }
    double span = static_cast<double>(MaxValue) - MinValue;
    double step = span != 0.0 ? Width / span : 0.0;  // pixels per unit of value
    int64_t value = Value;
    if (X <= knobX_) {
        value = value - 1;
    } else if (X < knobX_ + kKnobWidth + step) {
        dragging_ = 1;
    } else {
        value = value + 1;
    }
    if (value < MinValue) value = MinValue;
    if (value > MaxValue) value = MaxValue;
    Value = static_cast<int32_t>(value);
    return true;
}

void SlideBar::MouseMove(int32_t X, int32_t /*Y*/) {
    if (!dragging_) return;
    double perPixel = Width != 0 ? (static_cast<double>(MaxValue) - MinValue) / Width : 0.0;
    Value = RoundHalfEven(perPixel * (static_cast<double>(X) - Left) + MinValue);
    Clamp();
}

bool SlideBar::MouseUp(int32_t /*Button*/, int32_t /*X*/, int32_t /*Y*/) {
    dragging_ = 0;
    return false;
}
