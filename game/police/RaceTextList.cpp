#include "police/RaceTextList.h"

#include <algorithm>
#include <string_view>

#include "platform/CodePage.h"
#include "platform/FolderListing.h"
#include "police/RaceText.h"
#include "police/TextFolder.h"

namespace {

// The length of the well-formed UTF-8 in `bytes`, not counting a sequence the end cuts short
// (a line read up to its bound); 0 when they are ASCII only or not UTF-8 at all.
size_t Utf8Length(std::string_view bytes) {
    bool beyondAscii = false;
    size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const size_t extra = b < 0x80                 ? 0
                             : b >= 0xC2 && b <= 0xDF ? 1
                             : b >= 0xE0 && b <= 0xEF ? 2
                             : b >= 0xF0 && b <= 0xF4 ? 3
                                                      : 4;
        if (extra == 4) return 0;
        if (i + extra >= bytes.size() && extra > 0) break;  // cut short by the end
        for (size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return 0;
        }
        beyondAscii = beyondAscii || extra > 0;
        i += extra + 1;
    }
    return beyondAscii ? i : 0;
}

// Texts and names in the code page, as shipped, or in UTF-8, as a player's own texts mostly are
// on this desktop (with or without a byte-order mark).
std::u16string Decode(std::string_view bytes) {
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    if (bytes.substr(0, kMark.size()) == kMark) bytes.remove_prefix(kMark.size());
    if (const size_t length = Utf8Length(bytes)) return platform::FromUtf8(std::string(bytes.substr(0, length)));
    return platform::FromAnsi(bytes);
}

// Typographic punctuation no keyboard key gives, as the key that types its plain form.
std::u16string PlainPunctuation(const std::u16string& text) {
    std::u16string plain;
    plain.reserve(text.size());
    for (const char16_t c : text) {
        if (c == u'\u2018' || c == u'\u2019' || c == u'\u201A' || c == u'\u2032') {
            plain.push_back(u'\'');
        } else if (c == u'\u201C' || c == u'\u201D' || c == u'\u201E' || c == u'\u2033') {
            plain.push_back(u'"');
        } else if (c == u'\u2010' || c == u'\u2011' || c == u'\u2013' || c == u'\u2014' || c == u'\u2212') {
            plain.push_back(u'-');
        } else if (c == u'\u2026') {
            plain.append(u"...");
        } else if (c == u'\u00A0') {
            plain.push_back(u' ');
        } else {
            plain.push_back(c);
        }
    }
    return plain;
}

}  // namespace

RaceTextList::RaceTextList() : entries_(1), files_(1) {}

void RaceTextList::Load(const TextFolder& folder) {
    entries_.assign(1, std::u16string());
    files_.assign(1, std::string());
    first_ = 0;
    size_t next = 0;
    for (const std::string& name : folder.TxtFileNames()) {
        if (next == kMaxEntries) break;
        const std::string stem = name.substr(0, name.rfind('.'));
        if (next == entries_.size()) {
            entries_.emplace_back();
            files_.emplace_back();
        }
        entries_[next] = Decode(stem);
        files_[next] = platform::SameIgnoringCase(name, stem + ".txt") ? name : stem + ".txt";
        ++next;
    }
}

int32_t RaceTextList::Hit(int32_t x, int32_t y) const {
    if (x < kListX) return TextListID;
    const int32_t row = y <= kFirstRowY ? 0 : std::min((y - kFirstRowY) / kRowHeight, kLastRow);
    return std::min(first_ + row, LastIndex());
}

void RaceTextList::Scroll(int32_t rows) { first_ = std::clamp(first_ + rows, 0, std::max(0, LastIndex() - kLastRow)); }

void RaceTextList::Choose(int32_t index) {
    TextListID = static_cast<uint8_t>(std::clamp(index, 0, LastIndex()));
    if (TextListID < first_) first_ = TextListID;
    if (TextListID > first_ + kLastRow) first_ = TextListID - kLastRow;
}

std::u16string RaceTextList::ReadChosen(const TextFolder& folder) const {
    if (TextListID >= files_.size() || entries_[TextListID].empty()) return {};
    std::string line;
    if (!folder.ReadFirstLine(files_[TextListID], line)) return {};
    return FitLine(line);
}

std::u16string RaceTextList::FitLine(const std::string& line) {
    std::u16string text = PlainPunctuation(Decode(line));
    if (text.size() > kMaxLine) text.resize(kMaxLine);
    // Control characters (a NUL too) would end or garble the drawn line: they read as spaces.
    // Any other character no key can type would stop the race for good: it reads as one that can.
    for (char16_t& c : text) {
        if (c < 0x20 || c == 0x7F) c = u' ';
    }
    text = RaceText::Typable(std::move(text));
    const size_t end = text.find_last_not_of(u' ');
    text.resize(end == std::u16string::npos ? 0 : end + 1);
    return text;
}
