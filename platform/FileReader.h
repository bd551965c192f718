#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Reads a file from front to back through a small buffer, at most a given number of bytes of
// it: what a reader holds stays the size of its buffer whatever the size of the file, and a skip
// goes past bytes without reading them.
class FileReader {
public:
    static constexpr size_t kBufferBytes = 64u << 10;

    // The reader of the file at `path` (a real path), or null when it cannot be opened.
    static std::unique_ptr<FileReader> Open(const std::string& path, size_t maxBytes);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Bytes left before the end of the file or the bound, whichever comes first.
    size_t Remaining() const { return size_ - at_; }
    // The next `count` bytes (at most kBufferBytes) without going past them; fewer only at the
    // end. The view lasts until the next Peek.
    std::string_view Peek(size_t count);
    // Goes past up to `count` bytes.
    void Skip(size_t count);
    // A read failed: the reader stopped there.
    bool Failed() const { return failed_; }

private:
    FileReader(int fd, size_t size);

    int fd_;
    size_t size_;
    size_t at_ = 0;  // bytes gone past
    std::vector<uint8_t> buffer_;
    size_t head_ = 0;  // the unread bytes of the buffer are [head_, tail_)
    size_t tail_ = 0;
    bool failed_ = false;
};

}  // namespace platform
