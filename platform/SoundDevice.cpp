#include "platform/SoundDevice.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdint>

#include "platform/SoundBuffer.h"

namespace platform {
namespace {

// The packs hold WAV sounds only: bytes that are not a RIFF WAVE file never reach the mixer, whose
// detection would hand them to decoders of other formats (and leaks its reader on bytes no
// decoder takes).
bool IsWave(const std::vector<uint8_t>& bytes) {
    static constexpr uint8_t kRiff[4] = {'R', 'I', 'F', 'F'};
    static constexpr uint8_t kWave[4] = {'W', 'A', 'V', 'E'};
    return bytes.size() >= 12 && bytes.size() <= static_cast<size_t>(INT32_MAX) &&
           std::equal(kRiff, kRiff + 4, bytes.begin()) && std::equal(kWave, kWave + 4, bytes.begin() + 8);
}

}  // namespace

std::unique_ptr<SoundDevice> SoundDevice::Open() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
    if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    Mix_AllocateChannels(kChannels);
    return std::unique_ptr<SoundDevice>(new SoundDevice());
}

SoundDevice::~SoundDevice() {
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

std::unique_ptr<SoundBuffer> SoundDevice::CreateBuffer(const std::vector<uint8_t>& wav, int channel) {
    if (channel < 0 || channel >= kChannels || !IsWave(wav)) return nullptr;
    SDL_RWops* rw = SDL_RWFromConstMem(wav.data(), static_cast<int>(wav.size()));
    if (rw == nullptr) return nullptr;
    Mix_Chunk* chunk = Mix_LoadWAV_RW(rw, 1);
    if (chunk == nullptr) return nullptr;
    return std::make_unique<SoundBuffer>(chunk, channel);
}

}  // namespace platform
