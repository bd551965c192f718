#pragma once
// A fresh folder below /tmp, removed with everything in it when the object goes.
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace testtmp {

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "glyphor-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern + "/";
    }
    ~TempDir() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, ending in '/'.
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

}  // namespace testtmp
