#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace assetgen {

enum class Instrument {
    Marimba,  // wooden mallet
    Pluck,    // plucked string
    Bell,     // glassy bell
    Lead,     // soft square lead
    Bass,     // round bass
    Pad,      // slow detuned pad
    Organ,    // reedy organ
    Kick,
    Snare,
    HiHat,
    Shaker,
};

// A mono buffer of float samples at SampleRate that notes and effects are
// mixed into. With wrap set, whatever runs past the end continues at the
// start, so a loop made of it repeats without a seam.
class Track {
public:
    explicit Track(double seconds, bool wrap = false);
    explicit Track(size_t samples, bool wrap);

    size_t size() const { return data_.size(); }
    std::vector<float>& data() { return data_; }
    const std::vector<float>& data() const { return data_; }

    void add(size_t index, float value);
    // One note of an instrument: start and length in seconds, pitch as MIDI number.
    void note(Instrument inst, double start, double length, double midi, double gain);
    // Normalised 16-bit samples with a short fade at both ends unless wrapped.
    std::vector<int16_t> pcm(double peak = 0.85, double fadeSeconds = 0.004) const;

private:
    std::vector<float> data_;
    bool wrap_;
};

double midiToHz(double midi);

// Deterministic white noise source.
class Noise {
public:
    explicit Noise(uint32_t seed) : s_(seed ? seed : 1) {}
    float next() {
        s_ ^= s_ << 13;
        s_ ^= s_ >> 17;
        s_ ^= s_ << 5;
        return static_cast<float>(s_) / 2147483648.0f - 1.0f;
    }

private:
    uint32_t s_;
};

}  // namespace assetgen
