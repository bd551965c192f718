// A race text file as the police game lists, reads and plays it: it is listed exactly when it
// has a line to type, the chosen text is at most 1024 characters, every character of it that a
// key can type matches that key at its place, and the typing window never holds more than 70
// characters wherever the player is.

#include <cstdlib>
#include <string>

#include "fuzz/game/GameFolder.h"
#include "platform/ProgramFolder.h"
#include "police/RaceText.h"
#include "police/RaceTextList.h"
#include "police/TextFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    fuzzing::WriteGameFile("Data/English/E_General/Fuzz.txt", data, size);
    const TextFolder folder(platform::ProgramPath("\\Data\\English\\E_General\\"));
    RaceTextList list;
    list.Load(folder);
    // A file without a line to type is left out, and the list keeps its one empty entry.
    if (list.Entries().size() != 1) std::abort();
    const bool listed = list.Entries()[0] == u"Fuzz";
    if (!listed && !list.Entries()[0].empty()) std::abort();
    const std::u16string text = list.ReadChosen(folder);
    if (text.size() > RaceTextList::kMaxLine || text.empty() == listed) std::abort();

    RaceText race;
    race.SetText(text);
    for (int32_t pos = 0; pos <= race.TextLength(); ++pos) {
        if (pos < race.TextLength()) {
            const int32_t code = RaceText::AnsiCode(text[static_cast<size_t>(pos)]);
            if (code >= 0 && !race.Matches(pos, code)) std::abort();
        }
        race.MoveWindow(pos);
        if (race.WindowTyped().size() + race.WindowRest().size() > static_cast<size_t>(RaceText::kWindow)) {
            std::abort();
        }
    }
    return 0;
}
