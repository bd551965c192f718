#include "platform/KeyMap.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

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

uint32_t FromKeycode(int32_t key) {
    if (key >= SDLK_a && key <= SDLK_z) return static_cast<uint32_t>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<uint32_t>('0' + (key - SDLK_0));
    if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + static_cast<uint32_t>(key - SDLK_F1);
    switch (key) {
    case SDLK_ESCAPE:
        return VK_ESCAPE;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
    case SDLK_RETURN2:
        return VK_RETURN;
    case SDLK_SPACE:
        return VK_SPACE;
    case SDLK_BACKSPACE:
        return VK_BACK;
    case SDLK_TAB:
        return VK_TAB;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT:
        return VK_MENU;
    case SDLK_CAPSLOCK:
        return VK_CAPITAL;
    case SDLK_PAGEUP:
        return VK_PRIOR;
    case SDLK_PAGEDOWN:
        return VK_NEXT;
    case SDLK_END:
        return VK_END;
    case SDLK_HOME:
        return VK_HOME;
    case SDLK_LEFT:
        return VK_LEFT;
    case SDLK_UP:
        return VK_UP;
    case SDLK_RIGHT:
        return VK_RIGHT;
    case SDLK_DOWN:
        return VK_DOWN;
    case SDLK_INSERT:
        return VK_INSERT;
    case SDLK_DELETE:
        return VK_DELETE;
    case SDLK_KP_0:
        return VK_NUMPAD0;
    case SDLK_KP_1:
        return VK_NUMPAD0 + 1;
    case SDLK_KP_2:
        return VK_NUMPAD0 + 2;
    case SDLK_KP_3:
        return VK_NUMPAD0 + 3;
    case SDLK_KP_4:
        return VK_NUMPAD0 + 4;
    case SDLK_KP_5:
        return VK_NUMPAD0 + 5;
    case SDLK_KP_6:
        return VK_NUMPAD0 + 6;
    case SDLK_KP_7:
        return VK_NUMPAD0 + 7;
    case SDLK_KP_8:
        return VK_NUMPAD0 + 8;
    case SDLK_KP_9:
        return VK_NUMPAD0 + 9;
    default:
        break;
    }
    if (key > 0 && key < 128) {
        for (const Punct& p : kPunct) {
            if (key == p.plain) return p.vk;
        }
    }
    return 0;
}

}  // namespace

uint32_t KeyMap::FromSdl(int32_t keycode, int32_t scancode) {
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

}  // namespace platform
