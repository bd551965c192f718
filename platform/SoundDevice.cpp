#include "platform/SoundDevice.h"

#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/SoundBuffer.h"
#include "platform/SoundMixer.h"
#include "platform/WaveLayout.h"

namespace platform {
namespace {

static_assert(SoundDevice::kChannels == SoundMixer::kChannels);

// A decoded sound is at most this long at the output's form (about twelve minutes; the longest
// loop of the packs takes under a thirtieth of it).
constexpr uint64_t kMaxConvertedBytes = uint64_t{32} << 20;

// The packs hold WAV sounds only. Bytes that are not a whole RIFF WAVE file never reach the
// decoder, nor does a data chunk claiming more than the file holds (the decoder would allocate
// what it claims before finding the file shorter). A sound that would convert to more than the
// bound is refused too.
bool Acceptable(const std::vector<uint8_t>& wav) {
    if (wav.size() > static_cast<size_t>(INT32_MAX)) return false;
    const auto layout = WaveLayout::Read(wav);
    return layout && layout->ConvertedBytes(SoundMixer::kRate, 1, sizeof(int16_t)) <= kMaxConvertedBytes;
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
// audio thread stops waking (it mixes a block every 23 ms whether or not anything plays).
constexpr uint32_t kRestAfterMs = 2000;
// The mixer of the one device, while it exists.
SoundMixer* g_mixer = nullptr;
bool g_silenceCounted = false;
uint32_t g_silentSince = 0;

}  // namespace

SoundDevice::SoundDevice(std::unique_ptr<SoundMixer> mixer) : mixer_(std::move(mixer)) {}

std::unique_ptr<SoundDevice> SoundDevice::Open(std::string* failure) {
    if (g_mixer != nullptr) {
        if (failure) *failure = "the sound output is already open";
        return nullptr;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        if (failure) *failure = SDL_GetError();
        return nullptr;
    }
    auto mixer = std::make_unique<SoundMixer>();
    if (!mixer->Open(failure)) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    g_mixer = mixer.get();
    g_silenceCounted = false;
    return std::unique_ptr<SoundDevice>(new SoundDevice(std::move(mixer)));
}

SoundDevice::~SoundDevice() {
    mixer_.reset();
    g_mixer = nullptr;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SoundDevice::Wake() {
    if (g_mixer == nullptr) return false;
    // An output whose device went away (the sound server restarted) is opened anew, on the
    // device that is there now; the effects it held are dropped, the music goes on.
    if (g_mixer->Lost()) g_mixer->CloseLost();
    if (g_mixer->IsOpen()) return true;
    g_silenceCounted = false;
    // An output that cannot be opened again is said once, until one opens again.
    static bool told = false;
    std::string failure;
    const bool opened = g_mixer->Open(&failure);
    if (!opened && !told) {
        std::fprintf(stderr, "glyphor_police: the sound output could not be opened again (%s): playing without sound\n",
                     failure.c_str());
    }
    told = !opened;
    return opened;
}

void SoundDevice::RestWhileSilent(uint32_t nowMs) {
    // A lost output never falls silent (its sounds stand still) but its thread still wakes.
    if (mixer_->Lost()) mixer_->CloseLost();
    if (!mixer_->IsOpen()) return;
    // Paused channels keep their sounds while the output rests, and go on from where they
    // stopped when it opens again.
    if (mixer_->AnyPlaying()) {
        g_silenceCounted = false;
        return;
    }
    if (!g_silenceCounted) {
        g_silenceCounted = true;
        g_silentSince = nowMs;
        return;
    }
    if (nowMs - g_silentSince >= kRestAfterMs) mixer_->Rest();
}

bool SoundDevice::Resting() { return g_mixer != nullptr && !g_mixer->IsOpen(); }

namespace {

MixedSound Decode(const std::vector<uint8_t>& wav) {
    if (!Acceptable(wav)) return nullptr;
    return SoundMixer::Decode(wav, kMaxConvertedBytes);
}

}  // namespace

std::unique_ptr<SoundBuffer> SoundDevice::CreateBuffer(const std::vector<uint8_t>& wav, int channel) {
    if (channel < 0 || channel >= kChannels) return nullptr;
    MixedSound sound = Decode(wav);
    if (!sound) return nullptr;
    return std::make_unique<SoundBuffer>(*mixer_, std::move(sound), channel);
}

std::unique_ptr<SoundBuffer> SoundDevice::CreateDeferredBuffer(std::function<std::vector<uint8_t>()> readWav,
                                                               int channel, const std::string& name) {
    if (channel < 0 || channel >= kChannels || !readWav) return nullptr;
    return std::make_unique<SoundBuffer>(*mixer_, SoundBuffer::Decoder([readWav = std::move(readWav), name]() {
        MixedSound sound = Decode(readWav());
        if (!sound) {
            std::fprintf(stderr, "glyphor_police: %s is damaged and plays as silence\n", name.c_str());
        }
        return sound;
    }),
                                         channel);
}

void SoundDevice::SetMuted(bool muted) { mixer_->SetMuted(muted); }

uint32_t SoundDevice::TakeOutputPeak() { return mixer_->TakePeak(); }

}  // namespace platform
