#pragma once
#include <cstdint>
#include <string>

#include "wordgames/FrogWordSource.h"

class IDict;

// A course dictionary's words, measured in the font currently selected on the graphic engine.
class DictWordSource final : public FrogWordSource {
public:
    explicit DictWordSource(const IDict& dict) : dict_(dict) {}
    int32_t Count() const override;
    std::u16string WordAt(int32_t index) const override;
    void BeginMeasure() override;
    void EndMeasure() override;
    int32_t Width(const std::u16string& word) override;

private:
    const IDict& dict_;
};
