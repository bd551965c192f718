#include "platform/SoundDevice.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/SoundBuffer.h"
#include "platform/WaveLayout.h"

namespace platform {
namespace {

constexpr int kOutputRate = 22050;

// A decoded sound is at most this long at the output's rate (about three minutes of stereo at
// 44.1 kHz; the longest loop of the packs takes a sixth of it).
constexpr uint64_t kMaxConvertedBytes = uint64_t{32} << 20;

// The packs hold WAV sounds only. Bytes that are not a whole RIFF WAVE file never reach the
// mixer: its detection would hand them to decoders of other formats (and leaks its reader on
// bytes none of them takes), and its WAV reader allocates what a data chunk claims before
// finding the file shorter. A sound that would convert to more than the bound is refused too.
bool Acceptable(const std::vector<uint8_t>& wav) {
    if (wav.size() > static_cast<size_t>(INT32_MAX)) return false;
    const auto layout = WaveLayout::Read(wav);
    if (!layout) return false;
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&rate, &format, &channels) == 0 || rate <= 0 || channels <= 0) return false;
    const auto sampleBytes = static_cast<uint32_t>(SDL_AUDIO_BITSIZE(format) / 8);
    return layout->ConvertedBytes(static_cast<uint32_t>(rate), static_cast<uint32_t>(channels), sampleBytes) <=
           kMaxConvertedBytes;
}

// The peak of the mixed output, kept by the mixer's thread and taken by the game's.
std::atomic<uint32_t> g_outputPeak{0};
bool g_floatOutput = false;

void MeasureOutput(void* /*unused*/, Uint8* stream, int len) {
    uint32_t peak = 0;
    if (g_floatOutput) {
        const auto* samples = reinterpret_cast<const float*>(stream);
        for (size_t i = 0; i < static_cast<size_t>(len) / sizeof(float); ++i)
            peak = std::max(peak, static_cast<uint32_t>(std::fabs(samples[i]) * 32768.0F));
    } else {
        const auto* samples = reinterpret_cast<const Sint16*>(stream);
        for (size_t i = 0; i < static_cast<size_t>(len) / sizeof(Sint16); ++i)
            peak = std::max(peak, static_cast<uint32_t>(std::abs(static_cast<int>(samples[i]))));
    }
    uint32_t seen = g_outputPeak.load();
    while (peak > seen && !g_outputPeak.compare_exchange_weak(seen, peak)) {}
}

bool Exists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::exists(path, ec);
}

// An ALSA playback device: /dev/snd/pcmC<card>D<device>p.
bool AlsaPlaybackExists() {
    std::error_code ec;
    for (std::filesystem::directory_iterator it("/dev/snd", ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind("pcmC", 0) == 0 && !name.empty() && name.back() == 'p') return true;
    }
    return false;
}

// A sound server's socket, or a server named in the environment.
bool SoundServerExists() {
    if (const char* server = std::getenv("PULSE_SERVER"); server != nullptr && *server != '\0') return true;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string dir = runtime != nullptr ? std::string(runtime) : std::string();
    if (!dir.empty() && (Exists(dir + "/pulse/native") || Exists(dir + "/pipewire-0"))) return true;
    return Exists("/run/pulse/native") || Exists("/var/run/pulse/native");
}

// An ALSA configuration of the machine or the player may route the default device elsewhere
// (Bluetooth, a network sink): then only opening it tells.
bool AlsaConfigured() {
    const char* home = std::getenv("HOME");
    return Exists("/etc/asound.conf") || (home != nullptr && Exists(std::string(home) + "/.asoundrc"));
}

}  // namespace

bool SoundDevice::AnyOutputExists() {
    if (const char* driver = std::getenv("SDL_AUDIODRIVER"); driver != nullptr && *driver != '\0') return true;
    return AlsaPlaybackExists() || SoundServerExists() || AlsaConfigured();
}

namespace {

// The device's output: open while sounds may play, closed after a while of silence so that the
// mixer's thread stops waking (it mixes a block every 23 ms whether or not anything plays).
constexpr uint32_t kRestAfterMs = 2000;
bool g_deviceExists = false;
bool g_outputOpen = false;
int g_masterVolume = MIX_MAX_VOLUME;
bool g_silenceCounted = false;
uint32_t g_silentSince = 0;

bool OpenOutput(std::string* failure) {
    // Every sound of the packs is 16-bit mono at 22.05 kHz: an output of that form keeps them as
    // they are, where one of 44.1 kHz stereo would hold each one four times over (and the
    // converter's working room, four times more again) and mix four times the samples. 512
    // samples are 23 ms, as 1024 at 44.1 kHz. The system's sound server widens the output.
    if (Mix_OpenAudio(kOutputRate, AUDIO_S16SYS, 1, 512) != 0) {
        if (failure) *failure = Mix_GetError();
        return false;
    }
    Mix_AllocateChannels(SoundDevice::kChannels);
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    g_floatOutput = SDL_AUDIO_ISFLOAT(format);
    Mix_SetPostMix(&MeasureOutput, nullptr);
    Mix_MasterVolume(g_masterVolume);
    g_outputOpen = true;
    g_silenceCounted = false;
    return true;
}

void CloseOutput() {
    Mix_SetPostMix(nullptr, nullptr);
    Mix_HaltChannel(-1);
    Mix_CloseAudio();
    g_outputOpen = false;
}

}  // namespace

std::unique_ptr<SoundDevice> SoundDevice::Open(std::string* failure) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        if (failure) *failure = SDL_GetError();
        return nullptr;
    }
    g_masterVolume = MIX_MAX_VOLUME;
    if (!OpenOutput(failure)) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    g_outputPeak.store(0);
    g_deviceExists = true;
    return std::unique_ptr<SoundDevice>(new SoundDevice());
}

SoundDevice::~SoundDevice() {
    Mix_MasterVolume(MIX_MAX_VOLUME);
    if (g_outputOpen) CloseOutput();
    g_deviceExists = false;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SoundDevice::Wake() {
    if (!g_deviceExists) return false;
    return g_outputOpen || OpenOutput(nullptr);
}

void SoundDevice::RestWhileSilent(uint32_t nowMs) {
    if (!g_outputOpen) return;
    // Paused channels count as playing: their sounds go on from where they stopped.
    if (Mix_Playing(-1) != 0) {
        g_silenceCounted = false;
        return;
    }
    if (!g_silenceCounted) {
        g_silenceCounted = true;
        g_silentSince = nowMs;
        return;
    }
    if (nowMs - g_silentSince >= kRestAfterMs) CloseOutput();
}

bool SoundDevice::Resting() { return g_deviceExists && !g_outputOpen; }

namespace {

Mix_Chunk* Decode(const std::vector<uint8_t>& wav) {
    // Sounds are decoded into the output's form, so the output must be open.
    if (!SoundDevice::Wake() || !Acceptable(wav)) return nullptr;
    SDL_RWops* rw = SDL_RWFromConstMem(wav.data(), static_cast<int>(wav.size()));
    if (rw == nullptr) return nullptr;
    Mix_Chunk* chunk = Mix_LoadWAV_RW(rw, 1);
    // A converted sound keeps the converter's working room (up to 16 times the sound) behind
    // its samples: give back what the samples do not use.
    if (chunk != nullptr && chunk->allocated != 0 && chunk->alen > 0) {
        if (void* fitted = SDL_realloc(chunk->abuf, chunk->alen)) chunk->abuf = static_cast<Uint8*>(fitted);
    }
    return chunk;
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

void SoundDevice::SetMuted(bool muted) {
    g_masterVolume = muted ? 0 : MIX_MAX_VOLUME;
    Mix_MasterVolume(g_masterVolume);
}

uint32_t SoundDevice::TakeOutputPeak() { return g_outputPeak.exchange(0); }

}  // namespace platform
