#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// The characters the control keys translate to, as a screen's KeyPress receives them.
constexpr int32_t kKeyBackspace = 8;
constexpr int32_t kKeyTab = 9;
constexpr int32_t kKeyEnter = 13;
constexpr int32_t kKeyEsc = 27;

// Virtual-key codes of the game's key messages, from SDL keys, from characters (US layout) and
// from the key names of scripts.
class KeyMap {
public:
    // From an SDL keycode (layout-dependent, so a key gives the letter printed on it), falling back to the
    // scancode for letters and digits on layouts whose keys give other characters. 0: unknown.
    // With Num Lock off the keypad's digits are the moves printed under them (End, Down, ...).
    static uint32_t FromSdl(int32_t keycode, int32_t scancode, bool numLock = true);
    // The key that types `c` on a US keyboard (letters either case, digits, space, punctuation
    // shifted or not). 0 when no key types it.
    static uint32_t FromCharacter(char c);
    // Named keys: Esc, Enter, Space, Backspace, Tab, Shift, Ctrl, Alt, CapsLock, PgUp, PgDn, End,
    // Home, Left, Up, Right, Down, Insert, Delete, F1..F12 (case-insensitive). 0 when unknown.
    static uint32_t FromName(const std::string& name);
    // The character a key translates to without any text of its own (kKeyEsc, kKeyEnter,
    // kKeyBackspace, kKeyTab); 0 for every other key.
    static uint32_t ControlCharacter(uint32_t vk);
    // The character codes of typed text (a double-byte character as lead*256+trail). A
    // character the code page lacks (ä on a German keyboard) would come as '?' and type the '?'
    // of a text: it gives no code.
    static std::vector<uint32_t> CodesOfText(const std::string& utf8);
};

}  // namespace platform
