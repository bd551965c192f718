// A course file of word records as IDict::Load reads it, kept to a small and to a course's
// word count. A file with no usable word is refused like a missing one; otherwise the
// dictionary reports the count asked for and answers for every index with a word of the file
// (never an empty record or one that begins with "{").

#include <cstdlib>
#include <string>

#include "fuzz/game/GameFolder.h"
#include "wordgames/IDict.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    fuzzing::WriteGameFile("Data/English/T_WORD/Dictionary/FUZZ.ID", data, size);
    for (int32_t count : {3, 900}) {
        IDict dict;
        if (!dict.Load("FUZZ", count)) continue;
        if (dict.Count() != count) std::abort();
        for (int32_t i = -1; i <= count; ++i) {
            const std::u16string word = dict.WordAt(i);
            if (i < 0 && !word.empty()) std::abort();
            if (!word.empty() && word[0] == u'{') std::abort();
        }
    }
    return 0;
}
