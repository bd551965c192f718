#pragma once
#include <cstdint>
#include <functional>

#include "platform/SoundMixer.h"

namespace platform {

// One decoded sound on its own mixer channel, with the controls of a sound buffer: play from the
// current position (once or looping), stop keeping the position, rewind to the start.
class SoundBuffer {
public:
    // The mixer outlives its buffers.
    SoundBuffer(SoundMixer& mixer, MixedSound sound, int channel);
    // A sound decoded when it is first played or measured; a sound that cannot be decoded
    // then stays silent.
    using Decoder = std::function<MixedSound()>;
    SoundBuffer(SoundMixer& mixer, Decoder decode, int channel);
    ~SoundBuffer();

    void Play(bool looping);
    // Stops playing; the position stays, so the next Play goes on from there.
    void Stop();
    // Position 0; a playing sound restarts from the beginning.
    void Rewind();

    bool Playing() const;
    // Bytes of the sound played so far (within the current round of a loop).
    uint32_t Position() const;
    uint32_t Length() const;
    int Channel() const { return channel_; }

    SoundBuffer(const SoundBuffer&) = delete;
    SoundBuffer& operator=(const SoundBuffer&) = delete;

private:
    enum class State { Idle, Playing, Paused };
    void Start();
    bool OwnsChannel() const;
    // Decodes a deferred sound on first use; false when there is nothing to play.
    bool Realize() const;

    SoundMixer& mixer_;
    mutable MixedSound sound_;
    mutable Decoder decode_;
    int channel_;
    bool looping_ = false;
    State state_ = State::Idle;
    // Counted by the audio thread; shared with it while the sound is on the channel.
    PlayedBytes played_ = std::make_shared<std::atomic<uint64_t>>(0);
};

}  // namespace platform
