#pragma once
#include <cstdint>
#include <memory>

#include "platform/Surface.h"

// A horizontal track with a draggable knob; while dragging, a tag above the knob shows the value.
// Raises no event: the owner reads Value.
class SlideBar {
public:
    int32_t Top = 0;
    int32_t Left = 0;
    int32_t Width = 0;
    int32_t MinValue = 0;
    int32_t MaxValue = 100;
    int32_t Value = 0;

    // Loads "SLIDER_BG" and "SLIDER_SLIDER".
    static std::shared_ptr<SlideBar> Create();

    bool MouseDown(int32_t Button, int32_t X, int32_t Y);
    void MouseMove(int32_t X, int32_t Y);
    // Ends a drag; never handled, so the owner goes on offering the event.
    bool MouseUp(int32_t Button, int32_t X, int32_t Y);
    // Also places the knob that MouseDown tests against.
    void Draw();
    void LoadPicture();

    // Left edge of the knob for the current value (what Draw places it at).
    int32_t ComputeKnobX() const;
    int32_t KnobX() const { return knobX_; }
    bool Dragging() const { return dragging_ != 0; }

private:
    SlideBar() = default;
    void Clamp();

    platform::SurfacePtr track_;
    platform::SurfacePtr knob_;
    int32_t knobX_ = 0;
    int32_t dragging_ = 0;
};

// Rounds to the nearest integer, halves to the even neighbour; saturates at the 32-bit range.
int32_t RoundHalfEven(double value);
