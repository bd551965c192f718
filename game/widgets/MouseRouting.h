#pragma once
// How a screen or dialog hands the mouse to its controls: a press or a release goes to the
// controls in the order given and stops at the first that takes it (so overlapping controls never
// both act); a move goes to every control, so each can update its own hover state.
//
// The controls are taken by value: a click handler may make the owner replace its controls while
// the routing still runs, and the copies keep the ones being offered alive until it ends. An
// empty pointer is skipped. Any control with MouseDown/MouseUp(button, x, y) -> bool and
// MouseMove(x, y) can be routed; different kinds can be mixed in one call.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <tuple>

#include "platform/Message.h"
#include "widgets/LeftButton.h"

class MouseRouting {
public:
    template <typename... Controls>
    static bool Down(int32_t button, int32_t x, int32_t y, std::shared_ptr<Controls>... controls) {
        return (... || (controls && controls->MouseDown(button, x, y)));
    }

    template <typename... Controls>
    static bool Up(int32_t button, int32_t x, int32_t y, std::shared_ptr<Controls>... controls) {
        return (... || (controls && controls->MouseUp(button, x, y)));
    }

    template <typename... Controls>
    static void Move(int32_t x, int32_t y, std::shared_ptr<Controls>... controls) {
        (..., (controls ? controls->MouseMove(x, y) : void()));
    }

    // A screen's table of controls: every mouse event walks the same table in its order.
    template <typename Control, size_t N>
    using Table = std::array<std::shared_ptr<Control>, N>;

    template <typename Control, size_t N>
    static bool Down(int32_t button, int32_t x, int32_t y, const Table<Control, N>& table) {
        return std::apply([&](auto... controls) { return Down(button, x, y, controls...); }, table);
    }

    template <typename Control, size_t N>
    static bool Up(int32_t button, int32_t x, int32_t y, const Table<Control, N>& table) {
        return std::apply([&](auto... controls) { return Up(button, x, y, controls...); }, table);
    }

    template <typename Control, size_t N>
    static void Move(int32_t x, int32_t y, const Table<Control, N>& table) {
        std::apply([&](auto... controls) { Move(x, y, controls...); }, table);
    }

    // Routes a left press, a left release or a move by its kind; false for any other message and
    // for a press or release that no control took.
    template <typename... Controls>
    static bool Route(const platform::Message& msg, std::shared_ptr<Controls>... controls) {
        switch (msg.message) {
        case platform::WM_LBUTTONDOWN:
            return Down(kLeftButton, msg.X(), msg.Y(), std::move(controls)...);
        case platform::WM_LBUTTONUP:
            return Up(kLeftButton, msg.X(), msg.Y(), std::move(controls)...);
        case platform::WM_MOUSEMOVE:
            Move(msg.X(), msg.Y(), std::move(controls)...);
            return true;
        default:
            return false;
        }
    }
};
