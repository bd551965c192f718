#include "platform/SoundDevice.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include "platform/SoundBuffer.h"

namespace platform {

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

namespace {

Mix_Chunk* Decode(const std::vector<uint8_t>& wav) {
    if (wav.empty()) return nullptr;
    SDL_RWops* rw = SDL_RWFromConstMem(wav.data(), static_cast<int>(wav.size()));
    if (rw == nullptr) return nullptr;
    return Mix_LoadWAV_RW(rw, 1);
}

}  // namespace

std::unique_ptr<SoundBuffer> SoundDevice::CreateBuffer(const std::vector<uint8_t>& wav, int channel) {
    if (channel < 0 || channel >= kChannels) return nullptr;
    Mix_Chunk* chunk = Decode(wav);
    if (chunk == nullptr) return nullptr;
    return std::make_unique<SoundBuffer>(chunk, channel);
}

std::unique_ptr<SoundBuffer> SoundDevice::CreateDeferredBuffer(std::function<std::vector<uint8_t>()> readWav,
                                                               int channel) {
    if (channel < 0 || channel >= kChannels || !readWav) return nullptr;
    return std::make_unique<SoundBuffer>(
        SoundBuffer::Decoder([readWav = std::move(readWav)]() { return Decode(readWav()); }), channel);
}

}  // namespace platform
