#include "admodule/OleText.h"

#include "admodule/CodePage.h"

namespace tavi {

std::string OleToAnsi(const OLECHAR* text) {
    if (text == nullptr) return std::string();
    return Utf16ToAnsi(std::u16string_view(text, SysStringLen(text)));
}

BSTR AnsiToOle(std::string_view text) {
    const std::u16string wide = AnsiToUtf16(text);
    return SysAllocStringLen(wide.data(), static_cast<std::uint32_t>(wide.size()));
}

void WriteSlot(BSTR* slot, std::string_view text) {
    if (slot == nullptr) return;
    *slot = AnsiToOle(text);
}

}  // namespace tavi
