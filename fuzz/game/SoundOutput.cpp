#include "fuzz/game/SoundOutput.h"

#include <cstdlib>
#include <memory>

#include "platform/SoundBuffer.h"
#include "platform/SoundDevice.h"

namespace fuzzing {
namespace {

std::unique_ptr<platform::SoundDevice>& Device() {
    static std::unique_ptr<platform::SoundDevice> device;
    return device;
}

}  // namespace

void OpenSoundOutput() {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    Device() = platform::SoundDevice::Open();
    if (!Device()) std::abort();
}

void DecodeSound(const std::vector<uint8_t>& wav) {
    if (!Device()) OpenSoundOutput();
    const auto buffer = Device()->CreateBuffer(wav, 0);
    if (buffer && buffer->Position() > buffer->Length()) std::abort();
}

}  // namespace fuzzing
