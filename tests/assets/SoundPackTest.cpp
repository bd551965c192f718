// Every sound of GameSnd.DLL decodes as 22050 Hz 16-bit mono; effects are
// short, background loops last 10 to 30 seconds and join without a click or a
// change of level, and the game effects are evenly loud with the music under them.
#include "PackReader.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> Effects = {"BTN_CLICK",      "GLIDE",          "ANIBTN_ENTER",  "TYPE",
                                          "APPLE_IN",       "MOUSE_OUT",      "MOUSE_CLICK",   "MOUSE_AWAY",
                                          "FROG_JUMP",      "FROG_BACK",      "SPACE_SHOOT",   "SPACE_BLAST",
                                          "SPACE_PLANEOUT", "SPACE_WORDOUT",  "UPGRADE",       "PT_POLICE_ENTRY",
                                          "PT_THIEF_ENTRY", "PT_THIEF_BRAKE", "PT_THIEF_TURN", "PT_POLICE_CATCH",
                                          "PT_THIEF_AWAY"};
const std::vector<std::string> Loops = {"APPLE_BG", "MOUSE_BG", "FROG_BG", "SPACE_BG", "LAMISTER_BG"};
// Interface sounds and the key sound stay under the game effects.
const std::set<std::string> Quiet = {"BTN_CLICK", "GLIDE", "ANIBTN_ENTER", "TYPE"};
constexpr size_t Block = 22050 / 20;  // 50 ms

struct Decoded {
    SDL_AudioSpec audio{};
    std::vector<int16_t> samples;
};

bool decode(const PackReader& pack, const std::string& name, Decoded& out) {
    const std::vector<unsigned char> bytes = pack.read(name + ".wav");
    if (bytes.empty()) return false;
    Uint8* buf = nullptr;
    Uint32 len = 0;
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (!SDL_LoadWAV_RW(rw, 1, &out.audio, &buf, &len)) return false;
    out.samples.resize(len / 2);
    std::memcpy(out.samples.data(), buf, out.samples.size() * 2);
    SDL_FreeWAV(buf);
    return true;
}

int peak(const std::vector<int16_t>& s) {
    int p = 0;
    for (int16_t v : s) p = std::max(p, std::abs(static_cast<int>(v)));
    return p;
}

double power(const std::vector<int16_t>& s, size_t from, size_t to) {
    double sum = 0;
    for (size_t i = from; i < to; ++i) sum += static_cast<double>(s[i]) * s[i];
    return sum / static_cast<double>(std::max<size_t>(to - from, 1)) / (32768.0 * 32768.0);
}

double db(double p) { return 10 * std::log10(std::max(p, 1e-12)); }

// Loudness while the sound plays: the mean power of the half-overlapping 50 ms blocks no more
// than 10 dB under the mean block, in dB of full scale. A short sound is one block padded with
// silence.
double loudness(const std::vector<int16_t>& s) {
    std::vector<double> blocks;
    if (s.size() < Block) blocks.push_back(power(s, 0, s.size()) * static_cast<double>(s.size()) / Block);
    for (size_t at = 0; at + Block <= s.size(); at += Block / 2) blocks.push_back(power(s, at, at + Block));
    double mean = 0;
    for (double b : blocks) mean += b / static_cast<double>(blocks.size());
    double kept = 0;
    int count = 0;
    for (double b : blocks)
        if (b >= mean / 10) kept += b, ++count;
    return db(kept / count);
}

// The 99th percentile of |f(i)| over the samples of a loop.
template <typename F>
double percentile99(size_t n, F f) {
    std::vector<double> v;
    for (size_t i = 2; i < n; ++i) v.push_back(std::abs(f(i)));
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() * 99 / 100), v.end());
    return v[v.size() * 99 / 100];
}

class SoundPack : public ::testing::Test {
protected:
    PackReader pack{distPath("Game/GameSnd.DLL")};
};

TEST_F(SoundPack, HoldsExactlyTheNamedSounds) {
    ASSERT_TRUE(pack.ok()) << "cannot open " << distPath("Game/GameSnd.DLL");
    std::set<std::string> want;
    for (const auto& n : Effects) want.insert(n + ".wav");
    for (const auto& n : Loops) want.insert(n + ".wav");
    const std::vector<std::string> names = pack.names();
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), want);
}

TEST_F(SoundPack, EverySoundDecodesAsMono16BitAt22050) {
    for (const auto* list : {&Effects, &Loops})
        for (const auto& name : *list) {
            SCOPED_TRACE(name);
            Decoded d;
            ASSERT_TRUE(decode(pack, name, d)) << SDL_GetError();
            EXPECT_EQ(d.audio.freq, 22050);
            EXPECT_EQ(d.audio.format, AUDIO_S16LSB);
            EXPECT_EQ(d.audio.channels, 1);
            EXPECT_GT(peak(d.samples), 6000) << "(nearly) silent";
            size_t clipped = 0;
            for (int16_t v : d.samples) clipped += std::abs(static_cast<int>(v)) >= 32767;
            EXPECT_LT(clipped, d.samples.size() / 1000 + 1) << "clipped";
        }
}

TEST_F(SoundPack, EffectsAreShortAndStartAndEndQuietly) {
    for (const auto& name : Effects) {
        SCOPED_TRACE(name);
        Decoded d;
        ASSERT_TRUE(decode(pack, name, d));
        const double seconds = d.samples.size() / 22050.0;
        EXPECT_GE(seconds, 0.02);
        EXPECT_LE(seconds, 3.0);
        EXPECT_LT(std::abs(static_cast<int>(d.samples.front())), 1500);
        EXPECT_LT(std::abs(static_cast<int>(d.samples.back())), 1500);
    }
}

TEST_F(SoundPack, BackgroundLoopsLastTenToThirtySecondsAndJoinSmoothly) {
    for (const auto& name : Loops) {
        SCOPED_TRACE(name);
        Decoded d;
        ASSERT_TRUE(decode(pack, name, d));
        const double seconds = d.samples.size() / 22050.0;
        EXPECT_GE(seconds, 10.0);
        EXPECT_LE(seconds, 30.0);
        const std::vector<int16_t>& s = d.samples;
        const size_t n = s.size();
        // The last 50 ms run into the first at the same level.
        const double end = db(power(s, n - Block, n));
        const double start = db(power(s, 0, Block));
        EXPECT_LT(std::abs(end - start), 3.0) << "last 50 ms " << end << " dB, first " << start << " dB";
        // The loop point is a zero crossing where the wave goes on as it came: across the seam
        // it steps and bends no more than it does at 99 of 100 samples inside the loop.
        EXPECT_LE(std::min<int>(s[n - 1], s[0]), 0);
        EXPECT_GE(std::max<int>(s[n - 1], s[0]), 0);
        auto step = [&](size_t i) { return double(s[i]) - s[i - 1]; };
        auto bend = [&](size_t i) { return double(s[i]) - 2.0 * s[i - 1] + s[i - 2]; };
        EXPECT_LE(std::abs(double(s[0]) - s[n - 1]), percentile99(n, step));
        EXPECT_LE(std::abs(double(s[0]) - 2.0 * s[n - 1] + s[n - 2]), percentile99(n, bend));
        EXPECT_LE(std::abs(double(s[1]) - 2.0 * s[0] + s[n - 1]), percentile99(n, bend));
        // The music plays all the way through: no second-long silence.
        const size_t window = 22050;
        for (size_t at = 0; at + window <= s.size(); at += window / 2) {
            int p = 0;
            for (size_t i = at; i < at + window; ++i) p = std::max(p, std::abs(static_cast<int>(s[i])));
            EXPECT_GT(p, 1000) << "silence at " << at / 22050.0 << " s";
        }
    }
}

TEST_F(SoundPack, GameEffectsAreEvenlyLoudWithTheMusicUnderThem) {
    std::vector<std::pair<std::string, double>> effects, quiet, loops;
    std::printf("%-16s %9s %9s %9s\n", "sound", "RMS dB", "gated dB", "peak dB");
    for (const auto* list : {&Effects, &Loops})
        for (const auto& name : *list) {
            Decoded d;
            ASSERT_TRUE(decode(pack, name, d)) << name;
            const double level = loudness(d.samples);
            std::printf("%-16s %9.1f %9.1f %9.1f\n", name.c_str(), db(power(d.samples, 0, d.samples.size())), level,
                        20 * std::log10(std::max(peak(d.samples), 1) / 32768.0));
            EXPECT_LT(peak(d.samples), 32000) << name << " reaches full scale";
            auto& group = list == &Loops ? loops : Quiet.count(name) != 0 ? quiet : effects;
            group.emplace_back(name, level);
        }
    auto byLevel = [](const auto& a, const auto& b) { return a.second < b.second; };
    const auto [softest, loudest] = std::minmax_element(effects.begin(), effects.end(), byLevel);
    EXPECT_LT(loudest->second - softest->second, 6.0) << loudest->first << " against " << softest->first;
    for (const auto& [name, level] : loops) {
        EXPECT_LE(level, softest->second - 6.0) << name << " against " << softest->first;
        EXPECT_GE(level, loudest->second - 10.0) << name << " against " << loudest->first;
    }
    for (const auto& [name, level] : quiet) EXPECT_LE(level, softest->second) << name;
}

}  // namespace
