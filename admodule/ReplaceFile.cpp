#include "admodule/ReplaceFile.h"

#include <cstdlib>

#include "platform/FileReplacement.h"

namespace tavi {

bool ReplaceFile(const std::string& path, const std::function<bool(std::FILE*)>& write, std::string* why) {
    // The contents are gathered in memory first, so the file is replaced by the same rules as
    // every other file of the program.
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* memory = open_memstream(&buffer, &size);
    if (memory == nullptr) return false;
    const bool written = write(memory);
    const bool closed = std::fclose(memory) == 0;
    const bool ok = written && closed && platform::ReplaceFileContents(path, std::string_view(buffer, size), why);
    std::free(buffer);
    return ok;
}

bool ReplaceFile(const std::string& path, std::string_view contents, std::string* why) {
    return platform::ReplaceFileContents(path, contents, why);
}

}  // namespace tavi
