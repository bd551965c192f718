#pragma once
// Helpers for tests that play the real program through a script: pictures of the staged pack,
// button centres, snapshots read back, and a race text of the program folder a script can type.
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/PictureLoader.h"
#include "platform/ResourcePack.h"
#include "platform/Surface.h"
#include "police/RaceTextList.h"
#include "police/TextFolder.h"
#include "tests/support/PackPictures.h"

namespace scripted {

inline const std::string kDist = GLYPHOR_DIST_DIR;

using testsupport::Centre;
using testsupport::PackPicture;

inline bool SamePixels(const platform::Surface& a, const platform::Surface& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int32_t y = 0; y < a.Height(); ++y) {
        for (int32_t x = 0; x < a.Width(); ++x) {
            if (a.ReadPixel(x, y) != b.ReadPixel(x, y)) return false;
        }
    }
    return true;
}

// The same outside the box from (left, top) to (right, bottom), exclusive.
inline bool SamePixelsOutside(const platform::Surface& a, const platform::Surface& b, int32_t left, int32_t top,
                              int32_t right, int32_t bottom) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int32_t y = 0; y < a.Height(); ++y) {
        for (int32_t x = 0; x < a.Width(); ++x) {
            const bool inside = x >= left && x < right && y >= top && y < bottom;
            if (!inside && a.ReadPixel(x, y) != b.ReadPixel(x, y)) return false;
        }
    }
    return true;
}

inline platform::SurfacePtr LoadSnapshot(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return bytes.empty() ? nullptr : platform::LoadPng(bytes);
}

// A race text of the program folder that a script can type, with its row in the list.
struct Choice {
    int row = -1;
    std::string text;
};
inline Choice ChooseText(bool longest) {
    TextFolder folder(kDist + "/Data/English/E_General/");
    RaceTextList list;
    list.Load(folder);
    Choice best;
    for (int i = 0; i <= list.LastShown(); ++i) {
        list.TextListID = static_cast<uint8_t>(i);
        const std::u16string line = list.ReadChosen(folder);
        bool plain = !line.empty();
        for (char16_t c : line) plain = plain && c >= 0x20 && c < 0x7F && c != u'#';
        if (!plain) continue;
        if (best.row < 0 || (longest && line.size() > best.text.size())) {
            best.row = i;
            best.text = platform::ToUtf8(line);
        }
    }
    return best;
}
// A point on row `row` of the setting screen's text list.
inline std::string TextRow(int row) { return "600 " + std::to_string(45 + 25 * row + 12); }

}  // namespace scripted
