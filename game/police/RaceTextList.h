#pragma once
#include <cstdint>
#include <string>
#include <vector>

class TextFolder;

// The race texts offered on the setting screen: one entry per "*.txt" file of the text folder
// (its name up to the last "."), the chosen entry, the hit test of the list and the reading of
// the chosen text. The list shows 21 rows and scrolls when it holds more.
class RaceTextList {
public:
    // Rows shown: 0 to 20.
    static constexpr int32_t kLastRow = 20;
    // Entries listed at most: the chosen one travels to the other side of a network game as
    // one byte.
    static constexpr size_t kMaxEntries = 256;
    static constexpr int32_t kListX = 576;
    static constexpr int32_t kFirstRowY = 45;
    static constexpr int32_t kRowHeight = 25;
    // A line holds at most this many characters.
    static constexpr size_t kMaxLine = 1024;

    RaceTextList();

    // Lists the folder's texts that have a line to type, sorted by name ignoring case. With none,
    // the list keeps one empty entry.
    void Load(const TextFolder& folder);
    // The entry under (x, y) of the setting screen; the chosen entry when x lies left of the list.
    // Below the last row: the entry of the last row, or the last entry when the list ends above.
    int32_t Hit(int32_t x, int32_t y) const;
    // The first line of the chosen text: at most 1024 characters, trailing spaces removed. Empty
    // for an empty entry, a missing file or an empty file.
    std::u16string ReadChosen(const TextFolder& folder) const;
    // The chosen entry when its file reads as `text`, else empty: the other side of a network
    // game may list another text, or none, at the place its host chose.
    std::u16string ChosenNameIfItHolds(const TextFolder& folder, const std::u16string& text) const;

    const std::vector<std::u16string>& Entries() const { return entries_; }
    int32_t LastIndex() const { return static_cast<int32_t>(entries_.size()) - 1; }
    // The entry on the top row.
    int32_t FirstShown() const { return first_; }
    // Entries drawn: FirstShown() up to the smaller of FirstShown() + 20 and the last index.
    int32_t LastShown() const { return LastIndex() < first_ + kLastRow ? LastIndex() : first_ + kLastRow; }
    // Moves the rows by `rows` entries (negative: towards the first), within the list.
    void Scroll(int32_t rows);
    // Chooses entry `index`, held within the list, and scrolls it into view.
    void Choose(int32_t index);

    uint8_t TextListID = 0;

    // Fits a raw first line: code-page or UTF-8 bytes to text, typographic quotes and dashes made
    // plain, cut at 1024 characters, control characters made spaces, characters no key types made
    // kTypable, trailing spaces removed.
    static std::u16string FitLine(const std::string& line);

private:
    int32_t first_ = 0;
    std::vector<std::u16string> entries_;
    // The file each entry is read from (ANSI bytes): the listed file when its name is the entry
    // and ".txt", else the entry followed by ".txt".
    std::vector<std::string> files_;
};
