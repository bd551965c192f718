#pragma once
#include <cstdint>
#include <string>

#include "platform/olestr.h"

// One OLE string owned by the game: a text handed to the advertising module, or the variable
// a text result of the module is written into (and then owned by).
class OleString {
public:
    OleString() = default;
    // A new string holding `text`; Valid() is false when it could not be made.
    explicit OleString(const std::u16string& text);
    ~OleString() { SysFreeString(text_); }
    OleString(const OleString&) = delete;
    OleString& operator=(const OleString&) = delete;

    bool Valid() const { return text_ != nullptr; }
    const OLECHAR* Chars() const { return text_; }
    // The variable for the module to write a new string into. What it held is freed first, as
    // the module overwrites the variable without freeing it.
    BSTR* Slot();
    // The text, by the length in its prefix; empty for no string.
    std::u16string Text() const;

private:
    BSTR text_ = nullptr;
};
