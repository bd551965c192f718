#pragma once
#include <memory>
#include <string>
#include <vector>

// Access to the desktop's keyboard layouts (best effort on a real desktop; tests use a fake).
class KeyboardLayouts {
public:
    virtual ~KeyboardLayouts() = default;
    virtual std::string Current() = 0;  // layout of the calling thread
    virtual bool IsInputMethod(const std::string& layout) = 0;
    virtual void Load(const std::string& id, unsigned flags) = 0;
    virtual std::vector<std::string> List(size_t max) = 0;
    virtual void Activate(const std::string& layout, unsigned flags) = 0;
};

void SetKeyboardLayouts(std::shared_ptr<KeyboardLayouts> layouts);
// Switches away from an input-method layout to the first installed layout after loading US
// English; does nothing on a plain layout. Dialogs call it before taking keyboard input.
void ForceEnglishKeyboard();
