#include "platform/SoundBuffer.h"

#include <SDL_mixer.h>

#include <algorithm>

#include "platform/SoundDevice.h"

namespace platform {

SoundBuffer::SoundBuffer(Mix_Chunk* chunk, int channel) : chunk_(chunk), channel_(channel) {}

SoundBuffer::SoundBuffer(Decoder decode, int channel)
    : chunk_(nullptr), decode_(std::move(decode)), channel_(channel) {}

bool SoundBuffer::Realize() const {
    if (chunk_ == nullptr && decode_) {
        Decoder decode = std::move(decode_);
        decode_ = nullptr;
        chunk_ = decode();
    }
    return chunk_ != nullptr;
}

SoundBuffer::~SoundBuffer() {
    if (chunk_ != nullptr && OwnsChannel()) Mix_HaltChannel(channel_);
    if (chunk_ != nullptr) Mix_FreeChunk(chunk_);
}

bool SoundBuffer::OwnsChannel() const {
    // A resting output has no channels: nothing plays there.
    return chunk_ != nullptr && !SoundDevice::Resting() && Mix_GetChunk(channel_) == chunk_ &&
           Mix_Playing(channel_) != 0;
}

void SoundBuffer::CountPlayed(int /*channel*/, void* /*stream*/, int len, void* self) {
    static_cast<SoundBuffer*>(self)->played_.fetch_add(static_cast<uint64_t>(std::max(len, 0)));
}

void SoundBuffer::Start() {
    played_.store(0);
    if (!Realize() || !SoundDevice::Wake()) {
        state_ = State::Idle;
        return;
    }
    if (Mix_PlayChannel(channel_, chunk_, looping_ ? -1 : 0) < 0) {
        state_ = State::Idle;
        return;
    }
    // Starting a channel drops its effects, so the position counter is registered every time.
    Mix_RegisterEffect(channel_, &SoundBuffer::CountPlayed, nullptr, this);
    state_ = State::Playing;
}

void SoundBuffer::Play(bool looping) {
    if (state_ == State::Paused && OwnsChannel()) {
        looping_ = looping;
        Mix_Resume(channel_);
        state_ = State::Playing;
        return;
    }
    if (state_ == State::Playing && OwnsChannel()) return;
    looping_ = looping;
    Start();
}

void SoundBuffer::Stop() {
    if (state_ == State::Playing && OwnsChannel()) {
        Mix_Pause(channel_);
        state_ = State::Paused;
    }
}

void SoundBuffer::Rewind() {
    const bool wasPlaying = state_ == State::Playing && OwnsChannel() && Mix_Paused(channel_) == 0;
    if (OwnsChannel()) Mix_HaltChannel(channel_);
    played_.store(0);
    state_ = State::Idle;
    if (wasPlaying) Start();
}

bool SoundBuffer::Playing() const { return state_ == State::Playing && OwnsChannel() && Mix_Paused(channel_) == 0; }

uint32_t SoundBuffer::Position() const {
    const uint64_t played = played_.load();
    const uint64_t length = Length();
    if (length == 0) return 0;
    if (looping_) return static_cast<uint32_t>(played % length);
    return static_cast<uint32_t>(std::min(played, length));
}

uint32_t SoundBuffer::Length() const { return Realize() ? chunk_->alen : 0; }

}  // namespace platform
