// A resource pack ("GameRes.DLL", "GameSnd.DLL") as the game opens it, with a picture and a
// sound read from it by name and decoded as the engines decode them. Names that are not plain
// file names are never looked up; an entry read is never larger than the pack allows, and a
// picture that decodes has a size a surface can have.

#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/game/GameFolder.h"
#include "fuzz/game/SoundOutput.h"
#include "platform/PictureLoader.h"
#include "platform/ResourcePack.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::OpenSoundOutput();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string path = fuzzing::WriteGameFile("Game/GameRes.DLL", data, size);
    const auto pack = platform::ResourcePack::Open(path);
    if (!pack) return 0;
    std::vector<uint8_t> bytes;
    if (pack->Read("../GameRes.DLL", bytes) || pack->Contains("Game/GameRes.DLL")) std::abort();
    if (pack->Read("PICTURE.png", bytes)) {
        if (static_cast<int64_t>(bytes.size()) > platform::ResourcePack::kMaxEntryBytes) std::abort();
        if (const auto picture = platform::LoadPng(bytes)) {
            if (picture->Width() < 1 || picture->Height() < 1) std::abort();
        }
    }
    if (pack->Read("SOUND.wav", bytes)) {
        if (static_cast<int64_t>(bytes.size()) > platform::ResourcePack::kMaxEntryBytes) std::abort();
        fuzzing::DecodeSound(bytes);
    }
    return 0;
}
