#include "fuzz/admodule/FuzzFolder.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fuzzing {
namespace {

std::string MakeFolder() {
    std::error_code error;
    std::string base = std::filesystem::is_directory("/dev/shm", error)
                           ? std::string("/dev/shm")
                           : std::filesystem::temp_directory_path().string();
    std::string pattern = base + "/glyphor-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    return pattern + "/";
}

struct Folder {
    std::string path = MakeFolder();
    ~Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

}  // namespace

const std::string& FuzzFolder() {
    static const Folder folder;
    return folder.path;
}

std::string WriteFuzzFile(const std::string& name, const unsigned char* data, std::size_t size) {
    const std::string path = FuzzFolder() + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
    return path;
}

void SilenceStandardOutput() {
    if (std::freopen("/dev/null", "w", stdout) == nullptr) std::abort();
}

}  // namespace fuzzing
