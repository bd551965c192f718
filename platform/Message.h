#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Window messages the game's queue carries. The codes are the stable numbers the screens, the
// script runner and the tests share.
enum MessageId : uint32_t {
    WM_NULL = 0x0000,
    WM_DESTROY = 0x0002,
    WM_QUIT = 0x0012,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,
    WM_SYSKEYDOWN = 0x0104,
    WM_SYSKEYUP = 0x0105,
    WM_SYSCHAR = 0x0106,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_MBUTTONDOWN = 0x0207,
    WM_MBUTTONUP = 0x0208,
    WM_MOUSEWHEEL = 0x020A,
    WM_IME_CHAR = 0x0286,
    // Our own: a second start asks the running program to restore and raise its window.
    WM_APP_RESTORE = 0x8001,
    // Our own, scripted runs only: a test verb for the program (text in `text`).
    WM_APP_SCRIPT = 0x8002,
};

// Virtual-key codes used by the game.
enum VirtualKey : uint32_t {
    VK_BACK = 8,
    VK_TAB = 9,
    VK_RETURN = 13,
    VK_SHIFT = 16,
    VK_CONTROL = 17,
    VK_MENU = 18,
    VK_CAPITAL = 20,
    VK_ESCAPE = 27,
    VK_SPACE = 32,
    VK_PRIOR = 33,
    VK_NEXT = 34,
    VK_END = 35,
    VK_HOME = 36,
    VK_LEFT = 37,
    VK_UP = 38,
    VK_RIGHT = 39,
    VK_DOWN = 40,
    VK_INSERT = 45,
    VK_DELETE = 46,
    VK_NUMPAD0 = 96,
    VK_F1 = 112,
    VK_F10 = 121,
    VK_F11 = 122,
    VK_F12 = 123,
};

// Keys that only change what other keys give (Shift, Ctrl, Alt, Caps Lock), the Ctrl of the
// game's own Ctrl+M too: a game that scores every key it gets leaves these alone.
constexpr bool IsModifierKey(uint32_t vk) {
    return vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU || vk == VK_CAPITAL;
}

struct Message {
    uint32_t message = WM_NULL;
    uint32_t wParam = 0;
    uint32_t lParam = 0;  // mouse: X in the low 16 bits, Y in the high 16 bits
    // Key-down messages: the characters this key produced (ANSI codes, a double-byte character
    // as lead*256+trail). Only TranslateMessage turns them into WM_CHAR messages.
    std::vector<uint32_t> chars;
    std::string text;  // WM_APP_SCRIPT only

    // The wheel: its turn in the high word of wParam, kNotch a notch (positive: away from the
    // player), held to what 16 bits can say.
    static constexpr int32_t kNotch = 120;
    static uint32_t WheelParam(int32_t notches) {
        constexpr int32_t kMost = 32767 / kNotch;
        const auto turn = static_cast<int16_t>(std::clamp(notches, -kMost, kMost) * kNotch);
        return static_cast<uint32_t>(static_cast<uint16_t>(turn)) << 16;
    }
    int32_t WheelNotches() const { return static_cast<int16_t>(wParam >> 16) / kNotch; }

    int32_t X() const { return static_cast<int32_t>(lParam & 0xFFFF); }
    int32_t Y() const { return static_cast<int32_t>((lParam >> 16) & 0xFFFF); }
    static uint32_t MakeLParam(int32_t x, int32_t y) {
        return (static_cast<uint32_t>(x) & 0xFFFF) | ((static_cast<uint32_t>(y) & 0xFFFF) << 16);
    }
};

}  // namespace platform
