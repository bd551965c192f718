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

// Fills the empty buffer from the file. A file that ends before the size it had when it was
// opened ends the reading there; so does a failed read.
bool FileReader::Refill() {
    head_ = 0;
    tail_ = 0;
    const size_t wanted = std::min(buffer_.size(), Remaining());
    while (wanted > 0) {
        const ssize_t n = read(fd_, buffer_.data(), wanted);
        if (n < 0 && errno == EINTR) continue;
        if (n > 0) {
            tail_ = static_cast<size_t>(n);
            return true;
        }
        failed_ = n < 0;
        break;
    }
    size_ = at_;
    return false;
}

size_t FileReader::Read(void* out, size_t count) {
    auto* to = static_cast<uint8_t*>(out);
    size_t done = 0;
    while (done < count && Remaining() > 0) {
        if (head_ == tail_ && !Refill()) break;
        const size_t n = std::min({count - done, tail_ - head_, Remaining()});
        std::memcpy(to + done, buffer_.data() + head_, n);
        head_ += n;
        at_ += n;
        done += n;
    }
    return done;
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
