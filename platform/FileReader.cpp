#include "platform/FileReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platform {

std::unique_ptr<FileReader> FileReader::Open(const std::string& path, size_t maxBytes) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return nullptr;
    }
    const auto size = static_cast<uint64_t>(std::max<off_t>(st.st_size, 0));
    return std::unique_ptr<FileReader>(new FileReader(fd, size < maxBytes ? static_cast<size_t>(size) : maxBytes));
}

FileReader::FileReader(int fd, size_t size) : fd_(fd), size_(size), buffer_(std::min(size, kBufferBytes)) {}

FileReader::~FileReader() { close(fd_); }

std::string_view FileReader::Peek(size_t count) {
    count = std::min({count, Remaining(), buffer_.size()});
    if (tail_ - head_ < count) {
        // The unread bytes move to the front of the buffer, and the file fills the rest. A file
        // that ends before the size it had when it was opened ends the reading there; so does a
        // failed read.
        std::memmove(buffer_.data(), buffer_.data() + head_, tail_ - head_);
        tail_ -= head_;
        head_ = 0;
        while (tail_ < count) {
            const ssize_t n = read(fd_, buffer_.data() + tail_, std::min(buffer_.size(), Remaining()) - tail_);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                failed_ = n < 0;
                size_ = at_ + tail_;
                count = tail_;
                break;
            }
            tail_ += static_cast<size_t>(n);
        }
    }
    return {reinterpret_cast<const char*>(buffer_.data() + head_), count};
}

void FileReader::Skip(size_t count) {
    count = std::min(count, Remaining());
    const size_t buffered = tail_ - head_;
    if (count <= buffered) {
        head_ += count;
        at_ += count;
        return;
    }
    head_ = tail_ = 0;
    if (lseek(fd_, static_cast<off_t>(count - buffered), SEEK_CUR) < 0) {
        failed_ = true;
        size_ = at_;
        return;
    }
    at_ += count;
}

}  // namespace platform
