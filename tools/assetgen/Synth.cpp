#include "Synth.h"

#include "Wav.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

double midiToHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

Track::Track(double seconds, bool wrap) : data_(static_cast<size_t>(seconds * SampleRate + 0.5), 0.0f), wrap_(wrap) {}
Track::Track(size_t samples, bool wrap) : data_(samples, 0.0f), wrap_(wrap) {}

void Track::add(size_t index, float value) {
    if (index < data_.size())
        data_[index] += value;
    else if (wrap_ && !data_.empty())
        data_[index % data_.size()] += value;
}

namespace {

double softSquare(double phase) {
    // First odd harmonics of a square: bright but not harsh.
    const double w = 2 * M_PI * phase;
    return std::sin(w) + std::sin(3 * w) / 3 + std::sin(5 * w) / 5 + std::sin(7 * w) / 9;
}

double triangle(double phase) {
    const double p = phase - std::floor(phase);
    return 4 * std::fabs(p - 0.5) - 1;
}

}  // namespace

void Track::note(Instrument inst, double start, double length, double midi, double gain) {
    const double f = midiToHz(midi);
    const size_t s0 = static_cast<size_t>(std::max(0.0, start) * SampleRate + 0.5);
    double tail = 0.05;
    switch (inst) {
    case Instrument::Marimba:
        tail = 0.5;
        break;
    case Instrument::Pluck:
        tail = 0.6;
        break;
    case Instrument::Bell:
        tail = 1.2;
        break;
    case Instrument::Pad:
        tail = 0.5;
        break;
    case Instrument::Kick:
        tail = 0.3;
        break;
    case Instrument::Snare:
        tail = 0.2;
        break;
    case Instrument::HiHat:
        tail = 0.06;
        break;
    case Instrument::Shaker:
        tail = 0.08;
        break;
    default:
        tail = 0.06;
        break;
    }
    const double total = length + tail;
    const size_t n = static_cast<size_t>(total * SampleRate);
    Noise noise(static_cast<uint32_t>(s0 * 2654435761u + static_cast<uint32_t>(midi * 97)));
    float lp = 0, hpPrev = 0, hpOut = 0;
    // Plucked string: a tiny Karplus-Strong delay line.
    std::vector<float> ks;
    size_t ksPos = 0;
    if (inst == Instrument::Pluck) {
        ks.resize(std::max<size_t>(2, static_cast<size_t>(SampleRate / f)));
        for (auto& v : ks) v = noise.next() * 0.8f;
    }
    for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / SampleRate;
        const double release = t < length ? 1.0 : std::exp(-(t - length) / (tail * 0.25));
        double v = 0;
        switch (inst) {
        case Instrument::Marimba: {
            const double env = std::exp(-t * 7.0) * std::min(1.0, t * 800);
            v = env * (std::sin(2 * M_PI * f * t) + 0.25 * std::exp(-t * 30) * std::sin(2 * M_PI * f * 4 * t));
            break;
        }
        case Instrument::Pluck: {
            const float a = ks[ksPos];
            const float b = ks[(ksPos + 1) % ks.size()];
            ks[ksPos] = 0.496f * (a + b);
            ksPos = (ksPos + 1) % ks.size();
            v = a * std::min(1.0, t * 2000) * release;
            break;
        }
        case Instrument::Bell: {
            const double env = std::exp(-t * 3.0) * std::min(1.0, t * 1000);
            v = env * (std::sin(2 * M_PI * f * t) + 0.4 * std::sin(2 * M_PI * f * 2.76 * t) * std::exp(-t * 4) +
                       0.2 * std::sin(2 * M_PI * f * 5.4 * t) * std::exp(-t * 8));
            break;
        }
        case Instrument::Lead: {
            const double vib = 1 + 0.004 * std::sin(2 * M_PI * 5.5 * t) * std::min(1.0, t * 4);
            const double env = std::min(1.0, t * 200) * (0.7 + 0.3 * std::exp(-t * 6)) * release;
            v = env * softSquare(f * vib * t) * 0.5;
            break;
        }
        case Instrument::Bass: {
            const double env = std::min(1.0, t * 300) * (0.6 + 0.4 * std::exp(-t * 5)) * release;
            v = env * (0.7 * std::sin(2 * M_PI * f * t) + 0.35 * triangle(f * t));
            break;
        }
        case Instrument::Pad: {
            const double env = std::min(1.0, t / 0.25) * release;
            double s = 0;
            for (double d : {-0.08, 0.0, 0.07}) s += triangle(midiToHz(midi + d) * t);
            lp += static_cast<float>(0.08 * (s / 3 - lp));
            v = env * lp;
            break;
        }
        case Instrument::Organ: {
            const double env = std::min(1.0, t * 150) * release;
            v = env *
                (std::sin(2 * M_PI * f * t) + 0.5 * std::sin(4 * M_PI * f * t) + 0.25 * std::sin(6 * M_PI * f * t)) *
                0.6;
            break;
        }
        case Instrument::Kick: {
            // Pitch falls from 160 Hz to 50 Hz: phase is the integral of the sweep.
            v = std::exp(-t * 12) * std::sin(2 * M_PI * (50 * t + 110 * (1 - std::exp(-t * 25)) / 25));
            break;
        }
        case Instrument::Snare: {
            const float nz = noise.next();
            hpOut = 0.7f * (hpOut + nz - hpPrev);
            hpPrev = nz;
            v = std::exp(-t * 22) * (0.7 * hpOut + 0.4 * std::sin(2 * M_PI * 190 * t) * std::exp(-t * 30));
            break;
        }
        case Instrument::HiHat: {
            const float nz = noise.next();
            hpOut = 0.4f * (hpOut + nz - hpPrev);
            hpPrev = nz;
            v = std::exp(-t * 70) * hpOut * 0.8;
            break;
        }
        case Instrument::Shaker: {
            const float nz = noise.next();
            hpOut = 0.5f * (hpOut + nz - hpPrev);
            hpPrev = nz;
            v = std::min(1.0, t * 120) * std::exp(-t * 45) * hpOut * 0.6;
            break;
        }
        }
        add(s0 + i, static_cast<float>(v * gain));
    }
}

std::vector<int16_t> Track::pcm(double peak, double fadeSeconds) const {
    float maxAbs = 1e-6f;
    for (float v : data_) maxAbs = std::max(maxAbs, std::fabs(v));
    const double scale = peak * 32767.0 / maxAbs;
    const size_t fade = wrap_ ? 0 : static_cast<size_t>(fadeSeconds * SampleRate);
    std::vector<int16_t> out(data_.size());
    for (size_t i = 0; i < data_.size(); ++i) {
        double g = 1.0;
        if (fade > 0) {
            if (i < fade) g = static_cast<double>(i) / fade;
            const size_t fromEnd = data_.size() - 1 - i;
            if (fromEnd < fade) g = std::min(g, static_cast<double>(fromEnd) / fade);
        }
        const double v = std::clamp(data_[i] * scale * g, -32767.0, 32767.0);
        out[i] = static_cast<int16_t>(std::lround(v));
    }
    return out;
}

}  // namespace assetgen
