#include "shell/DesktopKeyboardLayouts.h"
#include "shell/KeyboardLayouts.h"

namespace {

constexpr unsigned kReorder = 8;  // load and put the layout first
constexpr size_t kListEntries = 25;

std::shared_ptr<KeyboardLayouts>& Layouts() {
    static std::shared_ptr<KeyboardLayouts> layouts = std::make_shared<DesktopKeyboardLayouts>();
    return layouts;
}

}  // namespace

void SetKeyboardLayouts(std::shared_ptr<KeyboardLayouts> layouts) {
    Layouts() = layouts ? std::move(layouts) : std::make_shared<DesktopKeyboardLayouts>();
}

void ForceEnglishKeyboard() {
    const std::shared_ptr<KeyboardLayouts> layouts = Layouts();
    if (!layouts->IsInputMethod(layouts->Current())) return;
    layouts->Load(DesktopKeyboardLayouts::kUsEnglish, kReorder);
    const std::vector<std::string> installed = layouts->List(kListEntries);
    if (!installed.empty()) layouts->Activate(installed.front(), 0);
}
