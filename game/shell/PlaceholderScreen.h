#pragma once
#include <string>

#include "shell/IGameInterface.h"

// A plain first screen: a background, the title and the characters typed so far. It stands
// where the police game will stand.
class PlaceholderScreen : public IGameInterface {
public:
    bool UpDateScreen() override;
    bool KeyPress(int32_t KeyAscii) override;

    const std::u16string& Typed() const { return typed_; }

private:
    std::u16string typed_;
};
