#pragma once
// A lock that copies of the module sharing a folder take in turn, held through a small file for
// as long as this object lives. It is taken at once or not at all. Where the file cannot be made
// (a folder nobody may write), nobody can hold the lock, and it counts as this copy's.

#include <string>

namespace tavi {

class LockFile {
public:
    explicit LockFile(const std::string& path);
    ~LockFile();
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    // False only when another holder has the lock.
    bool Ours() const { return ours_; }

private:
    int fd_ = -1;
    bool ours_ = true;
};

}  // namespace tavi
