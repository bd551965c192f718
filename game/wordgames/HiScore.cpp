#include "wordgames/HiScore.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "platform/BinaryFile.h"
#include "platform/CodePage.h"
#include "platform/PlayerFiles.h"

std::shared_ptr<HiScore> g_HiScore;

namespace {

constexpr size_t kMaxName = 0xFFFF;
constexpr size_t kMaxFileBytes = 4 + HiScore::kSlots * (4 + 2 + kMaxName);

// Reads little-endian values and never past the end of the bytes.
class ByteReader {
public:
    explicit ByteReader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
    bool ReadInt32(int32_t& value) {
        if (Left() < 4) return false;
        uint32_t raw = 0;
        for (int shift = 0; shift < 32; shift += 8) raw |= static_cast<uint32_t>(bytes_[pos_++]) << shift;
        value = static_cast<int32_t>(raw);
        return true;
    }
    bool ReadUint16(size_t& value) {
        if (Left() < 2) return false;
        value = bytes_[pos_] | (static_cast<size_t>(bytes_[pos_ + 1]) << 8);
        pos_ += 2;
        return true;
    }
    // Up to `n` bytes: a length past the end is cut there.
    std::string ReadBytes(size_t n) {
        n = std::min(n, Left());
        std::string out(bytes_.begin() + static_cast<std::ptrdiff_t>(pos_),
                        bytes_.begin() + static_cast<std::ptrdiff_t>(pos_ + n));
        pos_ += n;
        return out;
    }

private:
    size_t Left() const { return bytes_.size() - pos_; }
    const std::vector<uint8_t>& bytes_;
    size_t pos_ = 0;
};

void PutInt(std::vector<uint8_t>& bytes, uint32_t raw, int width) {
    for (int shift = 0; shift < 8 * width; shift += 8) bytes.push_back(static_cast<uint8_t>(raw >> shift));
}

// The name in the code page, at most kMaxName bytes and ending on a whole character.
std::string NameBytes(const std::u16string& name) {
    std::string ansi = platform::ToAnsi(name);
    if (ansi.size() <= kMaxName) return ansi;
    size_t end = 0;
    while (end < ansi.size()) {
        const size_t width = static_cast<uint8_t>(ansi[end]) >= 0x81 ? 2 : 1;
        if (end + width > kMaxName) break;
        end += width;
    }
    ansi.resize(end);
    return ansi;
}

}  // namespace

bool HiScore::LoadTable(const std::string& fileName) {
    std::vector<uint8_t> bytes;
    if (platform::ReadBinaryFile(platform::PlayerDataFolder() + fileName, kMaxFileBytes, bytes) !=
        platform::ReadResult::Ok) {
        return false;
    }
    ByteReader reader(bytes);
    int32_t count = 0;
    reader.ReadInt32(count);
    count_ = std::clamp(count, 0, kShown);
    entries_.fill(HiScoreEntry{});
    for (HiScoreEntry& entry : entries_) {
        size_t length = 0;
        if (!reader.ReadInt32(entry.Score) || !reader.ReadUint16(length)) break;
        entry.Name = platform::FromAnsi(reader.ReadBytes(length));
    }
    return true;
}

bool HiScore::SaveTable(const std::string& fileName) const {
    std::vector<uint8_t> bytes;
    PutInt(bytes, static_cast<uint32_t>(count_), 4);
    for (const HiScoreEntry& entry : entries_) {
        const std::string name = NameBytes(entry.Name);
        PutInt(bytes, static_cast<uint32_t>(entry.Score), 4);
        PutInt(bytes, static_cast<uint32_t>(name.size()), 2);
        bytes.insert(bytes.end(), name.begin(), name.end());
    }
    return platform::ReplaceBinaryFile(platform::PlayerDataFolder() + fileName, bytes);
}

HiScoreEntry HiScore::EntryAt(int32_t index) const {
    if (index < 0 || index >= count_) return {};
    return entries_[static_cast<size_t>(index)];
}

bool HiScore::Qualifies(int32_t score) const { return entries_[static_cast<size_t>(count_)].Score < score; }

void HiScore::Insert(const std::u16string& name, int32_t score) {
    if (count_ < kShown) ++count_;
    const auto n = static_cast<size_t>(count_);
    size_t j = 0;
    while (j < n && entries_[j].Score >= score) ++j;
    for (size_t i = n; i > j; --i) entries_[i] = entries_[i - 1];
    entries_[j] = HiScoreEntry{score, name};
}
