#include "admodule/LineQueueFile.h"

#include "admodule/DecimalText.h"
#include "admodule/ReplaceFile.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>
#include <utility>

namespace tavi {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File Open(const std::string& path, const char* mode) { return File(std::fopen(path.c_str(), mode)); }

bool WriteBytes(std::FILE* file, std::string_view bytes) {
    return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

long FileSize(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return -1;
    return std::ftell(file);
}

// Reads the two offsets of the header, each kept within the lines part of the file. False
// when the file is too short to hold a header.
bool ReadHeader(std::FILE* file, std::int32_t& readOffset, std::int32_t& writeOffset) {
    const long size = FileSize(file);
    if (size < LineQueueFile::kHeaderBytes || size > std::numeric_limits<std::int32_t>::max()) return false;
    char header[LineQueueFile::kHeaderBytes];
    if (std::fseek(file, 0, SEEK_SET) != 0 || std::fread(header, 1, sizeof header, file) != sizeof header) {
        return false;
    }
    const auto clamp = [size](std::int32_t offset) {
        if (offset < LineQueueFile::kHeaderBytes) return LineQueueFile::kHeaderBytes;
        if (offset > size) return static_cast<std::int32_t>(size);
        return offset;
    };
    writeOffset = clamp(ParseLooseInt(std::string_view(header + 16, 16)));
    // A read offset past the write offset would hide every line appended from now on.
    readOffset = std::min(clamp(ParseLooseInt(std::string_view(header, 16))), writeOffset);
    return true;
}

bool WriteHeader(std::FILE* file, std::int32_t readOffset, std::int32_t writeOffset) {
    if (std::fseek(file, 0, SEEK_SET) != 0) return false;
    return std::fprintf(file, "%015d\n%015d\n", readOffset, writeOffset) == LineQueueFile::kHeaderBytes;
}

// Reads one line from the current position: true when a line (possibly empty) was there,
// false at the end of the file. Bytes beyond `maxBytes` are skipped.
bool ReadLine(std::FILE* file, std::string& line, std::size_t maxBytes) {
    line.clear();
    int c = std::getc(file);
    if (c == EOF) return false;
    while (c != EOF && c != '\n') {
        if (line.size() < maxBytes) line.push_back(static_cast<char>(c));
        c = std::getc(file);
    }
    return true;
}

}  // namespace

LineQueueFile::LineQueueFile(std::string path) : path_(std::move(path)) {}

bool LineQueueFile::exists() const { return Open(path_, "rb") != nullptr; }

std::string LineQueueFile::Header(std::int32_t readOffset, std::int32_t writeOffset) {
    char header[kHeaderBytes + 1];
    std::snprintf(header, sizeof header, "%015d\n%015d\n", readOffset, writeOffset);
    return std::string(header, kHeaderBytes);
}

bool LineQueueFile::create() {
    if (!ReplaceFile(path_, Header(kHeaderBytes, kHeaderBytes), &error_)) return false;
    readOffset_ = kHeaderBytes;
    writeOffset_ = kHeaderBytes;
    return true;
}

bool LineQueueFile::append(std::string_view line) { return rebuild(0, {line}, false, kMaxQueueBytes); }

bool LineQueueFile::putFirst(std::size_t replaced, const std::vector<std::string>& lines) {
    return rebuild(replaced, std::vector<std::string_view>(lines.begin(), lines.end()), true,
                   std::numeric_limits<std::int32_t>::max());
}

bool LineQueueFile::appendAll(const std::vector<std::string>& lines) {
    return rebuild(0, std::vector<std::string_view>(lines.begin(), lines.end()), false,
                   std::numeric_limits<std::int32_t>::max());
}

bool LineQueueFile::rebuild(std::size_t skipped, const std::vector<std::string_view>& lines, bool linesFirst,
                            std::int32_t maxWaiting) {
    full_ = false;
    File old = Open(path_, "rb");
    if (!old) return false;
    const long size = FileSize(old.get());
    if (size > std::numeric_limits<std::int32_t>::max()) {
        full_ = true;
        return false;
    }
    std::int32_t readOffset = 0;
    std::int32_t writeOffset = 0;
    if (!ReadHeader(old.get(), readOffset, writeOffset)) {
        // Too short to hold a header: start the file afresh rather than keep garbage.
        old.reset();
        return create() && rebuild(0, lines, linesFirst, maxWaiting);
    }
    // Every write replaces the whole file, so the file ends at the true write offset: lines past
    // a smaller recorded one (a damaged header) are kept. Consumed lines are left behind, and so
    // are the `skipped` lines after them.
    const std::int32_t end = static_cast<std::int32_t>(size);
    if (end - readOffset >= maxWaiting) {
        full_ = true;
        return false;
    }
    if (std::fseek(old.get(), readOffset, SEEK_SET) != 0) return false;
    std::string skippedLine;
    for (std::size_t i = 0; i < skipped && ReadLine(old.get(), skippedLine, 0); ++i) {}
    const long kept = std::ftell(old.get());
    if (kept < 0) return false;
    // A file cut short inside a line would join the next line to the end of that one: the kept
    // lines then end with a line end of their own.
    bool lineStart = end == kept;
    if (!lineStart && std::fseek(old.get(), end - 1, SEEK_SET) == 0) lineStart = std::getc(old.get()) == '\n';
    const std::string_view lineEnd = lineStart ? "" : "\n";
    std::int64_t reached = std::int64_t{kHeaderBytes} + (end - kept) + static_cast<std::int64_t>(lineEnd.size());
    for (const std::string_view line : lines) reached += static_cast<std::int64_t>(line.size()) + 1;
    if (reached > std::numeric_limits<std::int32_t>::max()) return false;
    const auto writeLines = [&lines](std::FILE* file) {
        for (const std::string_view line : lines) {
            if (!WriteBytes(file, line) || std::fputc('\n', file) == EOF) return false;
        }
        return true;
    };
    const auto write = [&](std::FILE* file) {
        if (!WriteBytes(file, Header(kHeaderBytes, static_cast<std::int32_t>(reached)))) return false;
        if (linesFirst && !writeLines(file)) return false;
        if (std::fseek(old.get(), kept, SEEK_SET) != 0) return false;
        char buffer[65536];
        for (auto left = static_cast<std::size_t>(end - kept); left > 0;) {
            const std::size_t got = std::fread(buffer, 1, std::min(left, sizeof buffer), old.get());
            if (got == 0 || std::fwrite(buffer, 1, got, file) != got) return false;
            left -= got;
        }
        return WriteBytes(file, lineEnd) && (linesFirst || writeLines(file));
    };
    if (!ReplaceFile(path_, write, &error_)) return false;
    readOffset_ = kHeaderBytes;
    writeOffset_ = static_cast<std::int32_t>(reached);
    return true;
}

bool LineQueueFile::replace(const std::vector<std::string>& lines) {
    std::int64_t end = kHeaderBytes;
    for (const std::string& line : lines) end += static_cast<std::int64_t>(line.size()) + 1;
    if (end > std::numeric_limits<std::int32_t>::max()) return false;
    const auto write = [&](std::FILE* file) {
        const std::string header = Header(kHeaderBytes, static_cast<std::int32_t>(end));
        if (!WriteBytes(file, header)) return false;
        for (const std::string& line : lines) {
            if (!WriteBytes(file, line) || std::fputc('\n', file) == EOF) {
                return false;
            }
        }
        return true;
    };
    if (!ReplaceFile(path_, write, &error_)) return false;
    readOffset_ = kHeaderBytes;
    writeOffset_ = static_cast<std::int32_t>(end);
    return true;
}

std::vector<std::string> LineQueueFile::readLines(std::size_t count, std::size_t maxBytes, std::size_t* notRead) {
    std::vector<std::string> lines;
    if (notRead != nullptr) *notRead = 0;
    File file = Open(path_, "rb");
    if (!file || !ReadHeader(file.get(), readOffset_, writeOffset_) ||
        std::fseek(file.get(), readOffset_, SEEK_SET) != 0) {
        return lines;
    }
    std::size_t totalBytes = 0;
    std::string line;
    while (lines.size() < count && totalBytes < maxBytes && ReadLine(file.get(), line, kMaxLineBytes)) {
        totalBytes += line.size() + 1;
        lines.push_back(line);
    }
    // Counted up to the write offset only: a huge file whose header says it is empty is not read
    // through to its end.
    if (notRead != nullptr) {
        while (std::ftell(file.get()) < writeOffset_ && ReadLine(file.get(), line, 0)) ++*notRead;
    }
    return lines;
}

std::vector<std::string> LineQueueFile::read(std::size_t count) {
    std::vector<std::string> lines = readLines(count);
    lines.resize(count);
    return lines;
}

std::vector<std::string> LineQueueFile::readAll() { return readLines(kMaxReadLines); }

// Every write replaces the whole file, so its lines end where the file ends: a smaller write
// offset in the header (a damaged one) is not taken for the end of the queue.
bool LineQueueFile::ReadTrueOffsets(std::FILE* file) {
    if (!ReadHeader(file, readOffset_, writeOffset_)) return false;
    writeOffset_ = static_cast<std::int32_t>(FileSize(file));
    return true;
}

bool LineQueueFile::consume(std::size_t count) {
    File file = Open(path_, "r+b");
    if (!file || !ReadTrueOffsets(file.get()) || std::fseek(file.get(), readOffset_, SEEK_SET) != 0) return false;
    std::string skipped;
    for (std::size_t i = 0; i < count && ReadLine(file.get(), skipped, 0); ++i) {}
    const long reached = std::ftell(file.get());
    if (reached < 0 || reached > std::numeric_limits<std::int32_t>::max()) return false;
    readOffset_ = static_cast<std::int32_t>(reached);
    return WriteHeader(file.get(), readOffset_, writeOffset_) && std::fflush(file.get()) == 0 &&
           fsync(fileno(file.get())) == 0;
}

bool LineQueueFile::consumeThenRemoveIfEmpty(std::size_t count) {
    if (count > 0) {
        if (!consume(count)) return false;
    } else {
        // Nothing to consume: the offsets are read, not written again.
        File file = Open(path_, "rb");
        if (!file || !ReadTrueOffsets(file.get())) return false;
    }
    return !isEmpty() || remove();
}

bool LineQueueFile::remove() { return std::remove(path_.c_str()) == 0; }

}  // namespace tavi
