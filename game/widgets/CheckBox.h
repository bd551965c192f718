#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Surface.h"

// A 20x20 box with a caption to its right, drawn by its owner. OnChanged is raised whenever the
// value changes.
class CheckBox : public std::enable_shared_from_this<CheckBox> {
public:
    int32_t Top = 0;
    int32_t Left = 0;
    std::u16string Caption;

    std::function<void()> OnChanged;

    // Loads "CHECKBOX_BUTTON".
    static std::shared_ptr<CheckBox> Create();

    bool Value() const { return value_; }
    void SetValue(bool value);

    bool MouseDown(int32_t Button, int32_t X, int32_t Y);
    void MouseMove(int32_t X, int32_t Y);
    void Draw();
    // Reloads the picture (the owner's RestoreRes calls it).
    void LoadPicture();

    int32_t CellOffset() const { return cellOffset_; }

private:
    CheckBox() = default;
    bool InBox(int32_t X, int32_t Y) const;
    void RaiseChanged();

    platform::SurfacePtr picture_;
    bool value_ = false;
    int32_t cellOffset_ = 0;  // 0 unchecked, 20 unchecked hover, 40 checked, 60 checked hover
};
