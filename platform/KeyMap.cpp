#include "platform/KeyMap.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

#include "platform/CodePage.h"
#include "platform/Message.h"

namespace platform {
namespace {

// Punctuation of the US layout: unshifted and shifted character, virtual-key code.
struct Punct {
    char plain;
    char shifted;
    uint32_t vk;
};
constexpr std::array<Punct, 11> kPunct{{
    {';', ':', 186},
    {'=', '+', 187},
    {',', '<', 188},
    {'-', '_', 189},
    {'.', '>', 190},
    {'/', '?', 191},
    {'`', '~', 192},
    {'[', '{', 219},
    {'\\', '|', 220},
    {']', '}', 221},
    {'\'', '"', 222},
}};
constexpr char kShiftedDigits[] = ")!@#$%^&*(";

// Keys whose virtual-key code is not one of a range below.
struct NamedKey {
    int32_t keycode;
    uint32_t vk;
};
constexpr std::array<NamedKey, 25> kNamedKeys{{
    {SDLK_ESCAPE, VK_ESCAPE}, {SDLK_RETURN, VK_RETURN},    {SDLK_KP_ENTER, VK_RETURN}, {SDLK_RETURN2, VK_RETURN},
    {SDLK_SPACE, VK_SPACE},   {SDLK_BACKSPACE, VK_BACK},   {SDLK_TAB, VK_TAB},         {SDLK_LSHIFT, VK_SHIFT},
    {SDLK_RSHIFT, VK_SHIFT},  {SDLK_LCTRL, VK_CONTROL},    {SDLK_RCTRL, VK_CONTROL},   {SDLK_LALT, VK_MENU},
    {SDLK_RALT, VK_MENU},     {SDLK_CAPSLOCK, VK_CAPITAL}, {SDLK_PAGEUP, VK_PRIOR},    {SDLK_PAGEDOWN, VK_NEXT},
    {SDLK_END, VK_END},       {SDLK_HOME, VK_HOME},        {SDLK_LEFT, VK_LEFT},       {SDLK_UP, VK_UP},
    {SDLK_RIGHT, VK_RIGHT},   {SDLK_DOWN, VK_DOWN},        {SDLK_INSERT, VK_INSERT},   {SDLK_DELETE, VK_DELETE},
    {SDLK_KP_0, VK_NUMPAD0},
}};

uint32_t FromKeycode(int32_t key) {
    if (key >= SDLK_a && key <= SDLK_z) return static_cast<uint32_t>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<uint32_t>('0' + (key - SDLK_0));
    if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + static_cast<uint32_t>(key - SDLK_F1);
    // The keypad's 1 to 9 follow each other in both codes; its 0 comes after its 9 in SDL's.
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return VK_NUMPAD0 + 1 + static_cast<uint32_t>(key - SDLK_KP_1);
    for (const NamedKey& k : kNamedKeys) {
        if (key == k.keycode) return k.vk;
    }
    if (key > 0 && key < 128) {
        for (const Punct& p : kPunct) {
            if (key == p.plain) return p.vk;
        }
    }
    return 0;
}

// The keypad's keys while Num Lock is off: true for its digits and its point, with `vk` the move
// printed under them (its 5 moves nowhere and gives no key, 0).
bool KeypadMove(int32_t key, uint32_t& vk) {
    static constexpr std::array<uint32_t, 9> kMoves{VK_END,   VK_DOWN, VK_NEXT, VK_LEFT, 0,
                                                    VK_RIGHT, VK_HOME, VK_UP,   VK_PRIOR};
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) {
        vk = kMoves[static_cast<size_t>(key - SDLK_KP_1)];
    } else if (key == SDLK_KP_0) {
        vk = VK_INSERT;
    } else if (key == SDLK_KP_PERIOD) {
        vk = VK_DELETE;
    } else {
        return false;
    }
    return true;
}

}  // namespace

uint32_t KeyMap::FromSdl(int32_t keycode, int32_t scancode, bool numLock) {
    if (uint32_t move = 0; !numLock && KeypadMove(keycode, move)) return move;
    if (const uint32_t vk = FromKeycode(keycode); vk != 0) return vk;
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
        return static_cast<uint32_t>('A' + (scancode - SDL_SCANCODE_A));
    }
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) {
        return static_cast<uint32_t>('1' + (scancode - SDL_SCANCODE_1));
    }
    if (scancode == SDL_SCANCODE_0) return '0';
    return 0;
}

uint32_t KeyMap::FromCharacter(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (std::isalpha(u) != 0) return static_cast<uint32_t>(std::toupper(u));
    if (std::isdigit(u) != 0) return u;
    if (c == ' ') return VK_SPACE;
    for (int i = 0; i < 10; ++i) {
        if (c == kShiftedDigits[i]) return static_cast<uint32_t>('0' + i);
    }
    for (const Punct& p : kPunct) {
        if (c == p.plain || c == p.shifted) return p.vk;
    }
    return 0;
}

uint32_t KeyMap::FromName(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    static const std::pair<const char*, uint32_t> kNames[] = {
        {"esc", VK_ESCAPE},   {"escape", VK_ESCAPE},   {"enter", VK_RETURN},  {"return", VK_RETURN},
        {"space", VK_SPACE},  {"backspace", VK_BACK},  {"tab", VK_TAB},       {"shift", VK_SHIFT},
        {"ctrl", VK_CONTROL}, {"control", VK_CONTROL}, {"alt", VK_MENU},      {"capslock", VK_CAPITAL},
        {"pgup", VK_PRIOR},   {"pageup", VK_PRIOR},    {"pgdn", VK_NEXT},     {"pagedown", VK_NEXT},
        {"end", VK_END},      {"home", VK_HOME},       {"left", VK_LEFT},     {"up", VK_UP},
        {"right", VK_RIGHT},  {"down", VK_DOWN},       {"insert", VK_INSERT}, {"delete", VK_DELETE},
    };
    for (const auto& [n, vk] : kNames) {
        if (lower == n) return vk;
    }
    if (lower.size() >= 2 && lower.size() <= 3 && lower[0] == 'f') {
        int number = 0;
        for (size_t i = 1; i < lower.size(); ++i) {
            if (std::isdigit(static_cast<unsigned char>(lower[i])) == 0) return 0;
            number = number * 10 + (lower[i] - '0');
        }
        if (number >= 1 && number <= 12) return VK_F1 + static_cast<uint32_t>(number - 1);
    }
    return 0;
}

uint32_t KeyMap::ControlCharacter(uint32_t vk) {
    switch (vk) {
    case VK_ESCAPE:
        return kKeyEsc;
    case VK_RETURN:
        return kKeyEnter;
    case VK_BACK:
        return kKeyBackspace;
    case VK_TAB:
        return kKeyTab;
    default:
        return 0;
    }
}

std::vector<uint32_t> KeyMap::CodesOfText(const std::string& utf8) {
    std::vector<uint32_t> codes;
    for (const char16_t c : FromUtf8(utf8)) {
        if (const int32_t code = AnsiCode(c); code >= 0) codes.push_back(static_cast<uint32_t>(code));
    }
    return codes;
}

}  // namespace platform
