#include "platform/SoundBuffer.h"

#include <algorithm>

#include "platform/SoundDevice.h"

namespace platform {

SoundBuffer::SoundBuffer(SoundMixer& mixer, MixedSound sound, int channel)
    : mixer_(mixer), sound_(std::move(sound)), channel_(channel) {}

SoundBuffer::SoundBuffer(SoundMixer& mixer, Decoder decode, int channel)
    : mixer_(mixer), decode_(std::move(decode)), channel_(channel) {}

bool SoundBuffer::Realize() const {
    if (!sound_ && decode_) {
        Decoder decode = std::move(decode_);
        decode_ = nullptr;
        sound_ = decode();
    }
    return sound_ != nullptr;
}

SoundBuffer::~SoundBuffer() {
    if (sound_) mixer_.Release(channel_, sound_.get());
}

bool SoundBuffer::OwnsChannel() const {
    // An output whose device went away kept only its looping sounds on their channels.
    return sound_ && mixer_.Holds(channel_, sound_.get());
}

void SoundBuffer::Start() {
    played_->store(0);
    if (!Realize() || !SoundDevice::Wake() || !mixer_.Play(channel_, sound_, played_, looping_)) {
        state_ = State::Idle;
        return;
    }
    state_ = State::Playing;
}

void SoundBuffer::Play(bool looping) {
    if (state_ == State::Paused && OwnsChannel()) {
        looping_ = looping;
        // The output may have rested while the sound stood paused.
        if (!SoundDevice::Wake()) {
            state_ = State::Idle;
            return;
        }
        mixer_.Resume(channel_, looping);
        state_ = State::Playing;
        return;
    }
    if (state_ == State::Playing && OwnsChannel()) return;
    looping_ = looping;
    Start();
}

void SoundBuffer::Stop() {
    if (state_ == State::Playing && OwnsChannel()) {
        mixer_.Pause(channel_);
        state_ = State::Paused;
    }
}

void SoundBuffer::Rewind() {
    const bool wasPlaying = state_ == State::Playing && OwnsChannel() && !mixer_.Paused(channel_);
    if (OwnsChannel()) mixer_.Halt(channel_);
    played_->store(0);
    state_ = State::Idle;
    if (wasPlaying) Start();
}

bool SoundBuffer::Playing() const { return state_ == State::Playing && OwnsChannel() && !mixer_.Paused(channel_); }

uint32_t SoundBuffer::Position() const {
    const uint64_t played = played_->load();
    const uint64_t length = Length();
    if (length == 0) return 0;
    if (looping_) return static_cast<uint32_t>(played % length);
    return static_cast<uint32_t>(std::min(played, length));
}

uint32_t SoundBuffer::Length() const { return Realize() ? static_cast<uint32_t>(sound_->size() * sizeof(int16_t)) : 0; }

}  // namespace platform
