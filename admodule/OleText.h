#pragma once
// Texts across the module's interface: OLE strings in, OLE strings out, ANSI inside.

#include "platform/olestr.h"

#include <string>
#include <string_view>

namespace tavi {

// The text of an OLE string, its length taken from the prefix; a null string is empty.
std::string OleToAnsi(const OLECHAR* text);

// A new OLE string holding the text; the caller owns it.
BSTR AnsiToOle(std::string_view text);

// Stores a new OLE string in the caller's slot without freeing what the slot held. A null
// slot receives nothing.
void WriteSlot(BSTR* slot, std::string_view text);

}  // namespace tavi
