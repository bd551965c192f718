#pragma once
#include <atomic>
#include <cstdint>
#include <functional>

struct Mix_Chunk;

namespace platform {

// One loaded sound on its own mixer channel, with the controls of a sound buffer: play from the
// current position (once or looping), stop keeping the position, rewind to the start.
class SoundBuffer {
public:
    SoundBuffer(Mix_Chunk* chunk, int channel);
    // A sound decoded when it is first played or measured; a sound that cannot be decoded
    // then stays silent.
    using Decoder = std::function<Mix_Chunk*()>;
    SoundBuffer(Decoder decode, int channel);
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
    static void CountPlayed(int channel, void* stream, int len, void* self);
    void Start();
    bool OwnsChannel() const;
    // Decodes a deferred sound on first use; false when there is nothing to play.
    bool Realize() const;

    mutable Mix_Chunk* chunk_;
    mutable Decoder decode_;
    int channel_;
    bool looping_ = false;
    State state_ = State::Idle;
    std::atomic<uint64_t> played_{0};
};

}  // namespace platform
