#pragma once
#include <cstddef>
#include <string>
#include <vector>

// The folder of race texts on disk, and the player's own folder of texts beside it. File names and
// contents are bytes (code page or UTF-8, told apart by the list); nothing read here is trusted:
// listings and reads are bounded.
class TextFolder {
public:
    // At most this many names are looked at in each folder, and the first this many of them in
    // the list's order are listed (the list shows at most 256 texts).
    static constexpr size_t kMaxNamesRead = 10000;
    static constexpr size_t kMaxFiles = 1000;
    // Bytes of a first line that are ever looked at (1024 characters need at most 2048).
    static constexpr size_t kMaxLineBytes = 4096;

    // `path` (the shipped texts) and `ownPath` (the player's, may be empty) end in '/'. A name in
    // both folders is listed once and read from the player's folder.
    explicit TextFolder(std::string path, std::string ownPath = std::string());

    // Names of the files matching "*.txt" ("X.TXT" too), sorted by name ignoring the case of
    // letters, as the desktop's file system lists them. A missing or unreadable folder gives none.
    std::vector<std::string> TxtFileNames() const;
    // The first line of the file `fileName` that is not empty, its letters matched ignoring case
    // (up to its line break, bounded). False when the file does not exist or cannot be read.
    bool ReadFirstLine(const std::string& fileName, std::string& line) const;

    const std::string& Path() const { return path_; }

private:
    // The folder the player's own texts are read from first, then the shipped one.
    std::vector<std::string> Folders() const;

    std::string path_;
    std::string ownPath_;
};
