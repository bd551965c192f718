#pragma once
// A lock that copies of the module sharing a folder take in turn, held through a small file for
// as long as this object lives. It is taken at once or not at all. Where the file can be neither
// made nor opened (a folder this user may not write, another user's lock), the lock is not this
// copy's.

#include <string>

namespace tavi {

class LockFile {
public:
    explicit LockFile(const std::string& path);
    ~LockFile();
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    // Whether this copy holds the lock.
    bool Ours() const { return ours_; }

private:
    int fd_ = -1;
    bool ours_ = true;
};

}  // namespace tavi
