#pragma once
#include <string>

namespace platform {

// The folder of the running executable, ending in '/'.
const std::string& ProgramFolder();
// Tests may point the program folder elsewhere.
void SetProgramFolder(const std::string& folder);
// A path written with backslashes below the program folder ("\Game\Setting.DAT") as a real path.
std::string ProgramPath(const std::string& relative);

}  // namespace platform
