#include "platform/ScriptKeyboard.h"

#include "platform/CodePage.h"
#include "platform/KeyMap.h"

namespace platform {

void ScriptKeyboard::CharacterInput(char16_t c, std::vector<Message>& out) {
    if (c < 0x80) {
        const uint32_t vk = KeyMap::FromCharacter(static_cast<char>(c));
        if (vk == 0) return;
        Message down;
        down.message = altHeld_ ? WM_SYSKEYDOWN : WM_KEYDOWN;
        down.wParam = vk;
        down.lParam = 1;
        down.chars.push_back(c);
        Message up;
        up.message = altHeld_ ? WM_SYSKEYUP : WM_KEYUP;
        up.wParam = vk;
        up.lParam = 1u | (3u << 30);
        out.push_back(down);
        out.push_back(up);
        return;
    }
    // Characters no key types arrive as an input method commits them.
    const std::string ansi = ToAnsi(std::u16string(1, c));
    uint32_t code = 0;
    for (unsigned char b : ansi) code = code * 256u + b;
    // '?' stands for a character the code page lacks: no input method commits that.
    if (ansi.empty() || ansi.size() > 2 || ansi == "?") return;
    Message ime;
    ime.message = WM_IME_CHAR;
    ime.wParam = code;
    out.push_back(ime);
}

bool ScriptKeyboard::KeyMessages(const std::string& name, bool down, bool up, std::vector<Message>& out) {
    const std::u16string units = FromUtf8(name);
    if (units.size() == 1) {
        if (!(down && up)) {
            if (units[0] >= 0x80) return false;
            std::vector<Message> both;
            CharacterInput(units[0], both);
            if (both.size() != 2) return false;
            out.push_back(down ? both[0] : both[1]);
            return true;
        }
        CharacterInput(units[0], out);
        return !out.empty();
    }
    const uint32_t vk = KeyMap::FromName(name);
    if (vk == 0) return false;
    const bool system = altHeld_ || vk == VK_F10 || vk == VK_MENU;
    if (down) {
        Message m;
        m.message = system ? WM_SYSKEYDOWN : WM_KEYDOWN;
        m.wParam = vk;
        m.lParam = 1;
        if (vk == VK_SPACE) m.chars.push_back(' ');
        if (const uint32_t c = KeyMap::ControlCharacter(vk); c != 0) m.chars.push_back(c);
        out.push_back(m);
        if (vk == VK_MENU) altHeld_ = true;
    }
    if (up) {
        if (vk == VK_MENU) altHeld_ = false;
        Message m;
        m.message = system ? WM_SYSKEYUP : WM_KEYUP;
        m.wParam = vk;
        m.lParam = 1u | (3u << 30);
        out.push_back(m);
    }
    return true;
}

}  // namespace platform
