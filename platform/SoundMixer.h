#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// A decoded sound at the output's form (16-bit mono at 22.05 kHz). It is never changed once
// decoded and is shared with the audio thread, so a buffer may let go of it while it plays.
using MixedSound = std::shared_ptr<const std::vector<int16_t>>;
// Bytes of a sound the audio thread has sent out, counted for the buffer that played it.
using PlayedBytes = std::shared_ptr<std::atomic<uint64_t>>;

// The sound output and its channels: every channel plays one decoded sound, once or looping,
// and the audio thread adds the playing channels together into one 16-bit mono stream.
class SoundMixer {
public:
    static constexpr int kRate = 22050;
    static constexpr int kChannels = 16;

    SoundMixer() = default;
    // Closes the output; every channel stops.
    ~SoundMixer();

    // Opens the output (the system converts it to the real device's form); false with the
    // reason in `failure` when it cannot be opened. The channels hold what they held when the
    // output rested (nothing at first, or after Close).
    bool Open(std::string* failure);
    // Stops every channel and closes the output, so the audio thread stops waking.
    void Close();
    // Closes an output whose device went away: the effects it held are dropped, and a looping
    // sound (the music) keeps its place, to go on once the output is open again.
    void CloseLost();
    // Closes the output while nothing plays; paused channels keep their sounds and where they
    // stand, to go on once the output is open again.
    void Rest();
    bool IsOpen() const { return device_ != 0; }
    // True when the output is open but its device has gone: the sound server ended or
    // restarted. The mixer is no longer called, and the sounds on the channels stand still.
    bool Lost() const;

    // The samples of a WAV file's bytes at the output's form; null when the bytes do not decode
    // or would take more than `maxBytes` once converted.
    static MixedSound Decode(const std::vector<uint8_t>& wav, uint64_t maxBytes);

    // Plays `sound` on `channel` from its start, replacing what was there; `played` counts the
    // bytes sent out from the start (a loop goes on counting). False when the output is closed.
    bool Play(int channel, MixedSound sound, PlayedBytes played, bool looping);
    // Holds a channel where it is, and lets it go on (once or looping from there).
    void Pause(int channel);
    void Resume(int channel, bool looping);
    // Empties a channel.
    void Halt(int channel);
    // Empties `channel` if it holds `sound`, even played to its end, so the sound is let go.
    void Release(int channel, const std::vector<int16_t>* sound);

    // Whether `sound` is on `channel`, playing or paused.
    bool Holds(int channel, const std::vector<int16_t>* sound) const;
    bool Paused(int channel) const;
    // Whether any channel is playing (not paused).
    bool AnyPlaying() const;

    // Silences the output while the channels go on playing, or brings it back.
    void SetMuted(bool muted) { muted_.store(muted); }
    // The largest sample value (0..32768) sent to the output since the last call.
    uint32_t TakePeak() { return peak_.exchange(0); }

    SoundMixer(const SoundMixer&) = delete;
    SoundMixer& operator=(const SoundMixer&) = delete;

private:
    struct Channel {
        MixedSound sound;
        PlayedBytes played;
        size_t at = 0;  // the next sample
        bool active = false;
        bool paused = false;
        bool looping = false;
    };
    // Samples mixed in one pass of the audio thread's loop.
    static constexpr size_t kBlock = 512;

    static void Fill(void* self, uint8_t* stream, int len);
    void Mix(int16_t* out, size_t count);
    void MixChannel(Channel& channel, size_t count);
    // The channel table stays while the output rests; a closed output has emptied it.
    bool Valid(int channel) const { return channel >= 0 && channel < kChannels; }
    // Empties `channel` when it holds `only`, or whatever it holds when `only` is null.
    void Empty(int channel, const std::vector<int16_t>* only);

    uint32_t device_ = 0;
    std::array<Channel, kChannels> channels_{};
    // The running sum of a block, wider than a sample so that channels clip only once.
    std::array<int32_t, kBlock> sum_{};
    std::atomic<bool> muted_{false};
    std::atomic<uint32_t> peak_{0};
};

}  // namespace platform
