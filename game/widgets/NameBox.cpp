#include "widgets/NameBox.h"

std::shared_ptr<NameBox> NameBox::Create() { return std::shared_ptr<NameBox>(new NameBox()); }

std::optional<std::u16string> NameBox::Show(const std::u16string& /*title*/, const std::u16string& /*prompt*/,
                                            const std::u16string& initial, int32_t maxChars) {
    // Until the box is drawn and takes keys, the player keeps the offered name.
    if (maxChars >= 0 && initial.size() > static_cast<size_t>(maxChars)) {
        return initial.substr(0, static_cast<size_t>(maxChars));
    }
    return initial;
}
