// "space.hi" as the space shooter loads it. Whatever the file holds, the table shows 0 to 9
// entries, answers for every index, takes a qualifying score, and what it saves it reads back
// as the same table (the second save gives the same bytes).

#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/game/GameFolder.h"
#include "platform/BinaryFile.h"
#include "platform/PlayerFiles.h"
#include "results/HiScore.h"

namespace {

std::vector<uint8_t> Saved(const HiScore& table) {
    if (!table.SaveTable(kHiScoreFile)) std::abort();
    std::vector<uint8_t> bytes;
    if (platform::ReadBinaryFile(platform::PlayerDataFolder() + kHiScoreFile, 1u << 20, bytes) !=
        platform::ReadResult::Ok) {
        std::abort();
    }
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    fuzzing::WriteGameFile("Game/space.hi", data, size);
    HiScore table;
    if (!table.LoadTable(kHiScoreFile)) std::abort();  // the file is there
    if (table.EntryCount() < 0 || table.EntryCount() > HiScore::kShown) std::abort();
    for (int32_t i = -1; i <= HiScore::kSlots; ++i) {
        const HiScoreEntry entry = table.EntryAt(i);
        if (i < 0 || i >= table.EntryCount()) {
            if (entry.Score != 0 || !entry.Name.empty()) std::abort();
        }
    }

    const std::vector<uint8_t> first = Saved(table);
    HiScore again;
    if (!again.LoadTable(kHiScoreFile) || again.EntryCount() != table.EntryCount()) std::abort();
    for (int32_t i = 0; i < table.EntryCount(); ++i) {
        if (again.EntryAt(i).Score != table.EntryAt(i).Score) std::abort();
    }
    if (Saved(again) != first) std::abort();

    // A damaged table may be out of order; inserting still stays within the slots.
    if (again.Qualifies(INT32_MAX)) {
        again.Insert(u"英雄", INT32_MAX);
        if (again.EntryCount() < 1 || again.EntryCount() > HiScore::kShown) std::abort();
    }
    return 0;
}
