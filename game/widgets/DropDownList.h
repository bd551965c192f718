#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Surface.h"

// A one-line box that opens a list of texts below it. The choice is made when the button is
// released over an entry; the owner reads ListIndex. Raises no event.
class DropDownList {
public:
    int32_t Top = 0;
    int32_t Left = 0;
    int32_t Width = 0;
    int32_t Height = 0;          // where the opened list starts below Top
    int32_t DropDownHeight = 0;  // height of the opened list

    // Loads "DROPDOWN_BUTTON".
    static std::shared_ptr<DropDownList> Create();

    void AddItem(const std::u16string& text);
    void ClearItems();
    int32_t ItemCount() const { return static_cast<int32_t>(items_.size()) - 1; }
    const std::u16string& Item(int32_t index) const { return items_.at(static_cast<size_t>(index)); }

    int32_t ListIndex() const { return selected_; }
    void SetListIndex(int32_t index);
    void CloseList() { open_ = false; }
    bool IsOpen() const { return open_; }
    int32_t HotIndex() const { return hot_; }

    bool MouseDown(int32_t Button, int32_t X, int32_t Y);
    void MouseMove(int32_t X, int32_t Y);
    bool MouseUp(int32_t Button, int32_t X, int32_t Y);
    void Draw();
    void LoadPicture();

private:
    DropDownList() = default;
    void DrawEntry(int32_t index, int32_t y, uint32_t colorBgr);

    // The entries, always followed by one empty entry.
    std::vector<std::u16string> items_{std::u16string()};
    int32_t selected_ = 0;
    int32_t hot_ = 0;
    bool open_ = false;
    platform::SurfacePtr picture_;
};
