#include "results/HiScore.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <vector>

#include "platform/BinaryFile.h"
#include "platform/CodePage.h"
#include "platform/FileReplacement.h"
#include "platform/FolderLock.h"
#include "platform/MessageBox.h"
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
    // `n` bytes; false when the bytes end before.
    bool ReadBytes(size_t n, std::string& out) {
        if (n > Left()) return false;
        out.assign(bytes_.begin() + static_cast<std::ptrdiff_t>(pos_),
                   bytes_.begin() + static_cast<std::ptrdiff_t>(pos_ + n));
        pos_ += n;
        return true;
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

// The table's file: the count, then the ten slots.
std::vector<uint8_t> TableBytes(int32_t count, const std::array<HiScoreEntry, HiScore::kSlots>& entries) {
    std::vector<uint8_t> bytes;
    PutInt(bytes, static_cast<uint32_t>(count), 4);
    for (const HiScoreEntry& entry : entries) {
        const std::string name = NameBytes(entry.Name);
        PutInt(bytes, static_cast<uint32_t>(entry.Score), 4);
        PutInt(bytes, static_cast<uint32_t>(name.size()), 2);
        bytes.insert(bytes.end(), name.begin(), name.end());
    }
    return bytes;
}

// Reads a whole table: empty when it parses, else what is wrong. A table is the count and ten
// records, names in the code page. Bytes after the tenth record are no part of it: a table saved
// in place over a longer one leaves the old tail behind, and such files are the players' own.
std::string ParseTable(const std::vector<uint8_t>& bytes, int32_t& count,
                       std::array<HiScoreEntry, HiScore::kSlots>& entries) {
    ByteReader reader(bytes);
    if (!reader.ReadInt32(count)) return "no count";
    if (count < 0 || count > HiScore::kShown) return "a count of " + std::to_string(count);
    for (HiScoreEntry& entry : entries) {
        size_t length = 0;
        std::string name;
        if (!reader.ReadInt32(entry.Score) || !reader.ReadUint16(length) || !reader.ReadBytes(length, name)) {
            return "the records end early";
        }
        if (!platform::IsAnsiText(name)) return "a name that is not text";
        entry.Name = platform::FromAnsi(name);
    }
    return std::string();
}

}  // namespace

HiScore::FileState HiScore::ReadFile(const std::string& path, std::string& why) {
    count_ = 0;
    entries_.fill(HiScoreEntry{});
    std::vector<uint8_t> bytes;
    switch (platform::ReadBinaryFile(path, kMaxFileBytes, bytes, &why)) {
    case platform::ReadResult::Missing:
        return FileState::Missing;
    case platform::ReadResult::Failed:
        return FileState::Failed;
    case platform::ReadResult::Ok:
        break;
    }
    why = ParseTable(bytes, count_, entries_);
    if (why.empty()) return FileState::Read;
    count_ = 0;
    entries_.fill(HiScoreEntry{});
    return FileState::Damaged;
}

void HiScore::InsertUnsaved() {
    for (const HiScoreEntry& entry : unsaved_) {
        if (Qualifies(entry.Score)) Insert(entry.Name, entry.Score);
    }
}

bool HiScore::LoadTable(const std::string& fileName) {
    const std::string path = platform::PlayerDataFolder() + fileName;
    std::string why;
    const FileState state = ReadFile(path, why);
    if (state == FileState::Damaged) {
        std::fprintf(stderr,
                     "glyphor_police: %s is damaged (%s): the high-score table starts empty and the file is kept as "
                     "%s at the next save\n",
                     path.c_str(), why.c_str(), platform::DamagedFileName(path).c_str());
    }
    InsertUnsaved();
    return state != FileState::Missing;
}

bool HiScore::SaveTable(const std::string& fileName) const {
    return platform::ReplaceBinaryFile(platform::PlayerDataFolder() + fileName, TableBytes(count_, entries_));
}

bool HiScore::Enter(const std::string& fileName, const std::u16string& name, int32_t score) {
    const std::string path = platform::PlayerDataFolder() + fileName;
    const platform::FolderLock lock(platform::FolderOf(path));
    unsaved_.push_back(HiScoreEntry{score, name});
    // A file that cannot be read is not written over: the table shown keeps what it had.
    const int32_t shownCount = count_;
    const std::array<HiScoreEntry, kSlots> shown = entries_;
    std::string why;
    const FileState state = ReadFile(path, why);
    if (state == FileState::Failed) {
        count_ = shownCount;
        entries_ = shown;
        if (Qualifies(score)) Insert(name, score);
    } else {
        InsertUnsaved();
    }
    bool saved = state != FileState::Failed;
    if (saved && state == FileState::Damaged) saved = platform::RenameFile(path, platform::DamagedFileName(path), &why);
    if (saved) saved = platform::ReplaceBinaryFile(path, TableBytes(count_, entries_), &why);
    if (saved) {
        unsaved_.clear();
    } else {
        TellSaveFailure(path, why);
    }
    return saved;
}

void HiScore::TellSaveFailure(const std::string& path, const std::string& why) {
    if (toldFailure_) return;
    toldFailure_ = true;
    platform::ShowMessageBox(
        u"最高分无法保存：" + platform::FromUtf8OrAnsi(path) + u"\r\n" + platform::FromUtf8OrAnsi(why),
        platform::ApplicationTitle(), platform::MessageIcon::Error);
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
