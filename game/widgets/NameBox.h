#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// The modal box that asks the player for a name: a title, a prompt, an edit field and OK and
// Cancel buttons, drawn over the current screen.
class NameBox {
public:
    static std::shared_ptr<NameBox> Create();

    // Modal. Returns the text on OK (at most maxChars characters), std::nullopt on Cancel/Esc.
    std::optional<std::u16string> Show(const std::u16string& title, const std::u16string& prompt,
                                       const std::u16string& initial, int32_t maxChars);

private:
    NameBox() = default;
};
