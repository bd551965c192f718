#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A last-in-first-out stack of ad ids over an ordered keyed collection: each item is added
// under the decimal text of the count before it ("0" for the first), and Pop takes the item at
// position count, the last one pushed.
class ZebStack {
public:
    void Push(int32_t value);
    // The last value pushed, removed from the stack; empty (and nothing changes) when the stack
    // is empty.
    std::optional<int32_t> Pop();
    bool IsEmpty() const { return count_ < 1; }
    int32_t Count() const { return count_; }

private:
    struct Item {
        std::string key;
        int32_t value = 0;
    };

    std::vector<Item> items_;
    int32_t count_ = 0;
};
