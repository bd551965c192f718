#pragma once
// A queue of text lines in a file: a 32-byte header holding the read offset and the write
// offset ("%015d\n%015d\n"), then the lines, each ended by a single line feed. The lines
// between the two offsets are the queue; consumed lines stay until the next append.
// Every operation opens the file, works and closes it again; copies that share the file take the
// folder's lock around whatever reads and then changes it. Whatever adds to the file writes a
// new file and renames it over the old one, so a failed write leaves the old queue whole; only
// consume changes the file in place, rewriting the 32 header bytes it already has.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace tavi {

class LineQueueFile {
public:
    static constexpr std::int32_t kHeaderBytes = 32;
    // Bounds on what one read takes from a file that may have been damaged or tampered with.
    static constexpr std::size_t kMaxLineBytes = 1u << 20;
    static constexpr std::size_t kMaxReadLines = 100000;
    static constexpr std::size_t kMaxReadBytes = 16u << 20;
    // Once this many bytes of lines wait, append adds no more.
    static constexpr std::int32_t kMaxQueueBytes = 4 << 20;

    explicit LineQueueFile(std::string path);

    static std::string Header(std::int32_t readOffset, std::int32_t writeOffset);

    bool exists() const;
    // Empties the file and writes a header with both offsets just past it.
    bool create();
    // Adds a line after the last one in the file and leaves the consumed ones behind. False
    // when the file cannot be replaced, or when kMaxQueueBytes already wait (then wasFull()).
    bool append(std::string_view line);
    bool wasFull() const { return full_; }
    // Writes `lines` in place of the first `replaced` lines waiting, before the lines after them.
    bool putFirst(std::size_t replaced, const std::vector<std::string>& lines);
    // Adds `lines` after the last one in the file, whatever waits already.
    bool appendAll(const std::vector<std::string>& lines);
    // Why the file could not be written last, as the system says; may be empty.
    const std::string& error() const { return error_; }
    // Replaces the file with a fresh one holding exactly `lines`, each of which must be free of
    // line ends.
    bool replace(const std::vector<std::string>& lines);
    // The next `count` lines from the read offset; texts past the end of the file are empty.
    // The offsets do not change.
    std::vector<std::string> read(std::size_t count);
    // Every line from the read offset to the end of the file, within the bounds above.
    std::vector<std::string> readAll();
    // At most `count` lines from the read offset, stopping at the end of the file or once
    // `maxBytes` have been read. `notRead`, when given, receives the number of lines left
    // unread after them before the write offset.
    std::vector<std::string> readLines(std::size_t count, std::size_t maxBytes = kMaxReadBytes,
                                       std::size_t* notRead = nullptr);
    // Moves the read offset past the next `count` lines.
    bool consume(std::size_t count);
    // Consumes as above, then removes the file once no line waits in it.
    bool consumeThenRemoveIfEmpty(std::size_t count);
    // Read offset at or past the write offset, as this object last saw them.
    bool isEmpty() const { return readOffset_ >= writeOffset_; }
    bool remove();

    std::int32_t readOffset() const { return readOffset_; }
    std::int32_t writeOffset() const { return writeOffset_; }

private:
    // Reads the read offset of the header, and takes the end of the file for the write offset.
    bool ReadTrueOffsets(std::FILE* file);
    // Rewrites the file as the waiting lines after the first `skipped`, with `lines` before
    // them or after them; refused when `maxWaiting` bytes of lines already wait.
    bool rebuild(std::size_t skipped, const std::vector<std::string_view>& lines, bool linesFirst,
                 std::int32_t maxWaiting);

    std::string path_;
    std::int32_t readOffset_ = 0;
    std::int32_t writeOffset_ = 0;
    bool full_ = false;
    std::string error_;
};

}  // namespace tavi
