#pragma once
#include <string>

namespace platform {

// Holds the lock of a folder between processes for as long as it lives: copies of the program
// that read, change and rewrite a file of that folder take turns. A lock not given up within a
// few seconds (a copy that hangs) is not waited for any longer; the holder then works unlocked.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool Held() const { return held_; }

private:
    int fd_ = -1;
    bool held_ = false;
};

}  // namespace platform
