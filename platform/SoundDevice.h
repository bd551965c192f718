#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class SoundBuffer;
class SoundMixer;

// The sound output and its mixer. Every buffer plays on a fixed channel of its own, so buffers
// never take each other's channel. Only one device exists at a time.
class SoundDevice {
public:
    static constexpr int kChannels = 16;  // the mixer's channels

    // Null when the audio output cannot be opened; `failure` then holds the reason the audio
    // library gives.
    static std::unique_ptr<SoundDevice> Open(std::string* failure = nullptr);
    // False when the machine has no sound output at all: no ALSA playback device, no sound
    // server socket (PipeWire, PulseAudio), no ALSA configuration of its own and no audio
    // driver chosen with SDL_AUDIODRIVER. Such a machine is never asked to open one, so the
    // sound libraries have nothing to complain about on the terminal.
    static bool AnyOutputExists();
    // Stops every channel and closes the output. Buffers must be released first.
    ~SoundDevice();

    // A buffer of the WAV bytes on `channel` (0..kChannels-1); null when the bytes are not a
    // RIFF WAVE sound the mixer can decode or the channel is out of range.
    std::unique_ptr<SoundBuffer> CreateBuffer(const std::vector<uint8_t>& wav, int channel);
    // A buffer on `channel` whose WAV bytes are read and decoded when it is first played;
    // null when the channel is out of range. Bytes that turn out not to be a sound leave the
    // buffer silent, said once on standard error with `name`.
    std::unique_ptr<SoundBuffer> CreateDeferredBuffer(std::function<std::vector<uint8_t>()> readWav, int channel,
                                                      const std::string& name = "a sound");

    // Silences the whole output, or brings it back; the sounds go on playing unheard meanwhile,
    // so a loop resumes where it would have been.
    void SetMuted(bool muted);
    // The largest sample value (0..32768) the mixer has sent to the output since the last call.
    uint32_t TakeOutputPeak();

    // Closes the output once nothing has played (or stood paused) for two seconds by `nowMs`
    // (platform::Clock milliseconds), counted from the first call that found it silent: a still
    // screen calls it before it sleeps, and the mixer's thread then stops waking.
    void RestWhileSilent(uint32_t nowMs);
    // Opens a rested output again; buffers call it before they play. False when no
    // device exists or the output cannot be opened.
    static bool Wake();
    // True while a device exists and its output is closed for silence.
    static bool Resting();

    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

private:
    explicit SoundDevice(std::unique_ptr<SoundMixer> mixer);

    std::unique_ptr<SoundMixer> mixer_;
};

}  // namespace platform
