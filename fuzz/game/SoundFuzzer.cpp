// A sound's bytes as the sound engine hands them to the mixer after reading them from the pack.

#include <vector>

#include "fuzz/game/SoundOutput.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::OpenSoundOutput();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    fuzzing::DecodeSound(std::vector<uint8_t>(data, data + size));
    return 0;
}
