#include "Level.h"

#include "Synth.h"
#include "Wav.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

constexpr size_t BlockSamples = SampleRate / 20;  // 50 ms

double meanSquare(const std::vector<int16_t>& s, size_t from, size_t to) {
    double sum = 0;
    for (size_t i = from; i < to; ++i) sum += (s[i] / 32768.0) * (s[i] / 32768.0);
    return sum / static_cast<double>(BlockSamples);
}

double toDb(double power) { return 10 * std::log10(std::max(power, 1e-12)); }

}  // namespace

double gatedLevelDb(const std::vector<int16_t>& samples) {
    std::vector<double> blocks;
    for (size_t at = 0; at == 0 || at + BlockSamples <= samples.size(); at += BlockSamples / 2)
        blocks.push_back(meanSquare(samples, at, std::min(samples.size(), at + BlockSamples)));
    double mean = 0;
    for (double b : blocks) mean += b;
    mean /= static_cast<double>(blocks.size());
    double kept = 0;
    size_t count = 0;
    for (double b : blocks)
        if (b >= mean * 0.1) kept += b, ++count;
    return toDb(count > 0 ? kept / static_cast<double>(count) : 0);
}

std::vector<int16_t> levelled(const Track& track, double targetDb) {
    // The samples scale with the peak asked for, and so does their level in dB.
    const double atFullScale = gatedLevelDb(track.pcm(1.0));
    const double peak = std::min(std::pow(10.0, CeilingDb / 20), std::pow(10.0, (targetDb - atFullScale) / 20));
    return track.pcm(peak);
}

namespace {

// Sums of squares over a track read three times in a row, so any window around a point of the
// middle round is a difference.
std::vector<double> circularEnergy(const std::vector<float>& d) {
    std::vector<double> sums(3 * d.size() + 1, 0.0);
    for (size_t i = 0; i < 3 * d.size(); ++i) sums[i + 1] = sums[i] + double(d[i % d.size()]) * d[i % d.size()];
    return sums;
}

// The wave's departure from a straight line through the two samples before i.
double bend(const std::vector<float>& d, size_t i) {
    const size_t n = d.size();
    return std::fabs(d[i % n] - (2.0 * d[(i + n - 1) % n] - d[(i + n - 2) % n]));
}

}  // namespace

void turnToLoopPoint(Track& track) {
    std::vector<float>& d = track.data();
    const size_t n = d.size();
    if (n < 4 * BlockSamples) return;
    const std::vector<double> sums = circularEnergy(d);
    const double overall = sums[n] / static_cast<double>(n);
    // The join must be no steeper and no more bent than the wave is at most moments.
    std::vector<double> steps(n), bends(n);
    for (size_t i = 0; i < n; ++i) {
        steps[i] = std::fabs(d[i] - d[(i + n - 1) % n]);
        bends[i] = bend(d, i);
    }
    std::nth_element(steps.begin(), steps.begin() + n / 2, steps.end());
    std::nth_element(bends.begin(), bends.begin() + n / 2, bends.end());
    const double typicalStep = steps[n / 2];
    const double typicalBend = bends[n / 2];
    auto fits = [&](size_t p) {
        const float last = d[(p + n - 1) % n];
        if (!(last < 0 && d[p] >= 0) || d[p] - last > typicalStep || bend(d, p) > typicalBend) return false;
        const double before = (sums[p + n] - sums[p + n - BlockSamples]) / BlockSamples;
        const double after = (sums[p + n + BlockSamples] - sums[p + n]) / BlockSamples;
        return std::fabs(toDb(before) - toDb(after)) < 1.0 && std::min(before, after) > overall * 0.4;
    };
    for (size_t k = 0; k < n / 2; ++k) {
        for (size_t p : {(n - k) % n, k}) {
            if (fits(p)) {
                std::rotate(d.begin(), d.begin() + static_cast<std::ptrdiff_t>(p), d.end());
                return;
            }
        }
    }
}

}  // namespace assetgen
