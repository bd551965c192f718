#pragma once
#include <string>

namespace platform {

enum class MessageIcon { None, Error, Information };

// A modal message box. Without a display, or in a scripted run, the text goes to standard error
// and the call never blocks.
void ShowMessageBox(const std::u16string& text, const std::u16string& caption, MessageIcon icon = MessageIcon::None);

// The caption the game uses for its message boxes.
const std::u16string& ApplicationTitle();

}  // namespace platform
