#include "fuzz/game/GameFolder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "fuzz/admodule/FuzzFolder.h"
#include "platform/ProgramFolder.h"

namespace fuzzing {

void UseFuzzProgramFolder() {
    static const bool ready = [] {
        const std::string& folder = FuzzFolder();
        for (const char* sub : {"Game", "Data/English/T_WORD/Dictionary", "Data/English/E_General"}) {
            std::error_code error;
            std::filesystem::create_directories(folder + sub, error);
            if (error) std::abort();
        }
        platform::SetProgramFolder(folder);
        return true;
    }();
    (void)ready;
}

std::string WriteGameFile(const std::string& relative, const unsigned char* data, std::size_t size) {
    UseFuzzProgramFolder();
    return WriteFuzzFile(relative, data, size);
}

}  // namespace fuzzing
