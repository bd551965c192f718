#pragma once
#include <cstdint>
#include <string>

// Where the frog's river takes its words from and how wide they are in the game font.
class FrogWordSource {
public:
    virtual ~FrogWordSource() = default;
    virtual int32_t Count() const = 0;
    virtual std::u16string WordAt(int32_t index) const = 0;
    // Measuring happens between BeginMeasure and EndMeasure only.
    virtual void BeginMeasure() {}
    virtual void EndMeasure() {}
    virtual int32_t Width(const std::u16string& word) = 0;
};
