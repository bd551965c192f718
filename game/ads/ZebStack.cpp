#include "ads/ZebStack.h"

void ZebStack::Push(int32_t value) {
    items_.push_back(Item{std::to_string(count_), value});
    ++count_;
}

std::optional<int32_t> ZebStack::Pop() {
    if (IsEmpty()) return std::nullopt;
    const auto position = static_cast<std::size_t>(count_ - 1);
    const int32_t value = items_[position].value;
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(position));
    --count_;
    return value;
}
