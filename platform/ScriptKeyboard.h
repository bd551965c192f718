#pragma once
#include <string>
#include <vector>

#include "platform/Message.h"

namespace platform {

// The keyboard messages of a scripted run: a key by name or character, and characters no key
// types as an input method commits them. Remembers whether Alt is held, which makes keys
// system keys.
class ScriptKeyboard {
public:
    // The messages of key `name` (a character or a key name), down and/or up; false when the
    // name gives no key.
    bool KeyMessages(const std::string& name, bool down, bool up, std::vector<Message>& out);
    // The messages that type `c`; none when nothing can give it.
    void CharacterInput(char16_t c, std::vector<Message>& out);

private:
    bool altHeld_ = false;
};

}  // namespace platform
