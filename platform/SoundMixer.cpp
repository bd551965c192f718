#include "platform/SoundMixer.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace platform {
namespace {

constexpr SDL_AudioFormat kFormat = AUDIO_S16SYS;
// The most the converter may work in: a sound it would need more for is refused. Three minutes of
// 44.1 kHz stereo fit; a damaged file claiming a rate of a few samples a second, which would
// need hundreds of megabytes to widen, does not.
constexpr uint64_t kMaxWorkingRoom = uint64_t{64} << 20;

// Keeps the audio thread off the channels while it lives.
class DeviceLock {
public:
    explicit DeviceLock(SDL_AudioDeviceID device) : device_(device) { SDL_LockAudioDevice(device_); }
    ~DeviceLock() { SDL_UnlockAudioDevice(device_); }
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

private:
    SDL_AudioDeviceID device_;
};

MixedSound SamplesOf(const Uint8* bytes, size_t count) {
    auto samples = std::make_shared<std::vector<int16_t>>(count / sizeof(int16_t));
    std::copy_n(bytes, samples->size() * sizeof(int16_t), reinterpret_cast<Uint8*>(samples->data()));
    return samples;
}

// The samples of a decoded WAV converted to the output's form, or nothing when they would be
// more than `maxBytes`. The converter works in place in a buffer several times the sound's size,
// and only the converted samples are kept.
MixedSound Convert(const SDL_AudioSpec& source, const Uint8* data, Uint32 length, uint64_t maxBytes) {
    SDL_AudioCVT cvt{};
    const int built =
        SDL_BuildAudioCVT(&cvt, source.format, source.channels, source.freq, kFormat, 1, SoundMixer::kRate);
    // The output's own form needs no converter (the caller takes its samples as they are).
    if (built <= 0 || length > static_cast<Uint32>(INT32_MAX)) return nullptr;
    const uint64_t converted = static_cast<uint64_t>(static_cast<double>(length) * cvt.len_ratio);
    const uint64_t room = uint64_t{length} * static_cast<uint64_t>(std::max(cvt.len_mult, 1));
    if (converted > maxBytes || room > kMaxWorkingRoom) return nullptr;
    std::vector<Uint8> work(static_cast<size_t>(room));
    std::copy_n(data, length, work.begin());
    cvt.buf = work.data();
    cvt.len = static_cast<int>(length);
    if (SDL_ConvertAudio(&cvt) != 0) return nullptr;
    const auto bytes = static_cast<size_t>(std::max(cvt.len_cvt, 0));
    return bytes > maxBytes ? nullptr : SamplesOf(work.data(), bytes);
}

}  // namespace

MixedSound SoundMixer::Decode(const std::vector<uint8_t>& wav, uint64_t maxBytes) {
    if (wav.empty() || wav.size() > static_cast<size_t>(INT32_MAX)) return nullptr;
    SDL_RWops* rw = SDL_RWFromConstMem(wav.data(), static_cast<int>(wav.size()));
    if (rw == nullptr) return nullptr;
    SDL_AudioSpec source{};
    Uint8* data = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV_RW(rw, 1, &source, &data, &length) == nullptr) return nullptr;
    MixedSound sound;
    if (source.format == kFormat && source.channels == 1 && source.freq == kRate) {
        // The packs' own form: the samples are taken as they are.
        if (length <= maxBytes) sound = SamplesOf(data, length);
    } else {
        sound = Convert(source, data, length, maxBytes);
    }
    SDL_FreeWAV(data);
    return sound;
}

SoundMixer::~SoundMixer() { Close(); }

bool SoundMixer::Open(std::string* failure) {
    if (device_ != 0) return true;
    SDL_AudioSpec want{};
    want.freq = kRate;
    want.format = kFormat;
    want.channels = 1;
    // 512 samples are 23 ms at 22.05 kHz.
    want.samples = 512;
    want.callback = &SoundMixer::Fill;
    want.userdata = this;
    SDL_AudioSpec have{};
    // No changes allowed: the system converts our form to the real device's.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ == 0) {
        if (failure) *failure = SDL_GetError();
        return false;
    }
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void SoundMixer::Close() {
    Rest();
    for (Channel& channel : channels_) channel = Channel{};
}

void SoundMixer::CloseLost() {
    Rest();
    for (Channel& channel : channels_) {
        if (!channel.looping) channel = Channel{};
    }
}

void SoundMixer::Rest() {
    if (device_ == 0) return;
    // Closing waits for the audio thread, which then no longer reads the channels.
    SDL_CloseAudioDevice(device_);
    device_ = 0;
}

bool SoundMixer::Play(int channel, MixedSound sound, PlayedBytes played, bool looping) {
    if (device_ == 0 || !Valid(channel) || !sound || !played) return false;
    Channel next{std::move(sound), std::move(played), 0, true, false, looping};
    {
        DeviceLock lock(device_);
        std::swap(channels_[static_cast<size_t>(channel)], next);
    }
    return true;  // what the channel held is let go here, outside the lock
}

void SoundMixer::Pause(int channel) {
    if (!Valid(channel)) return;
    DeviceLock lock(device_);
    channels_[static_cast<size_t>(channel)].paused = true;
}

void SoundMixer::Resume(int channel, bool looping) {
    if (!Valid(channel)) return;
    DeviceLock lock(device_);
    Channel& ch = channels_[static_cast<size_t>(channel)];
    ch.paused = false;
    ch.looping = looping;
}

void SoundMixer::Halt(int channel) { Empty(channel, nullptr); }

void SoundMixer::Release(int channel, const std::vector<int16_t>* sound) {
    if (sound != nullptr) Empty(channel, sound);
}

void SoundMixer::Empty(int channel, const std::vector<int16_t>* only) {
    if (!Valid(channel)) return;
    Channel emptied;
    {
        DeviceLock lock(device_);
        Channel& ch = channels_[static_cast<size_t>(channel)];
        if (only == nullptr || ch.sound.get() == only) std::swap(ch, emptied);
    }
}

bool SoundMixer::Holds(int channel, const std::vector<int16_t>* sound) const {
    if (!Valid(channel) || sound == nullptr) return false;
    DeviceLock lock(device_);
    const Channel& ch = channels_[static_cast<size_t>(channel)];
    return ch.active && ch.sound.get() == sound;
}

bool SoundMixer::Paused(int channel) const {
    if (!Valid(channel)) return false;
    DeviceLock lock(device_);
    const Channel& ch = channels_[static_cast<size_t>(channel)];
    return ch.active && ch.paused;
}

bool SoundMixer::Lost() const {
    // The output is unpaused from the moment it opens, so only a device that went away stops.
    return device_ != 0 && SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED;
}

bool SoundMixer::AnyPlaying() const {
    if (device_ == 0) return false;
    DeviceLock lock(device_);
    return std::any_of(channels_.begin(), channels_.end(), [](const Channel& ch) { return ch.active && !ch.paused; });
}

void SoundMixer::Fill(void* self, uint8_t* stream, int len) {
    if (len <= 0) return;
    static_cast<SoundMixer*>(self)->Mix(reinterpret_cast<int16_t*>(stream), static_cast<size_t>(len) / sizeof(int16_t));
}

// The audio thread's step, with the device locked: adds the playing channels, clips the sum
// once, and measures what goes out. It allocates and frees nothing.
void SoundMixer::Mix(int16_t* out, size_t count) {
    const bool muted = muted_.load();
    uint32_t peak = 0;
    for (size_t done = 0; done < count;) {
        const size_t block = std::min(kBlock, count - done);
        std::fill_n(sum_.begin(), block, 0);
        for (Channel& channel : channels_)
            if (channel.active && !channel.paused) MixChannel(channel, block);
        for (size_t i = 0; i < block; ++i) {
            const int32_t sample = muted ? 0 : std::clamp(sum_[i], int32_t{-32768}, int32_t{32767});
            out[done + i] = static_cast<int16_t>(sample);
            peak = std::max(peak, static_cast<uint32_t>(std::abs(sample)));
        }
        done += block;
    }
    uint32_t seen = peak_.load();
    while (peak > seen && !peak_.compare_exchange_weak(seen, peak)) {}
}

void SoundMixer::MixChannel(Channel& channel, size_t count) {
    const std::vector<int16_t>& samples = *channel.sound;
    size_t done = 0;
    bool ended = samples.empty();
    while (done < count && !ended) {
        const size_t take = std::min(count - done, samples.size() - channel.at);
        for (size_t i = 0; i < take; ++i) sum_[done + i] += samples[channel.at + i];
        channel.at += take;
        done += take;
        if (channel.at < samples.size()) break;
        // A loop goes on from its start within the same block, without a gap.
        channel.at = 0;
        ended = !channel.looping;
    }
    channel.played->fetch_add(done * sizeof(int16_t));
    if (ended) channel.active = false;
}

}  // namespace platform
