// Every sound of GameSnd.DLL decodes as 22050 Hz 16-bit mono; effects are
// short, background loops last 10 to 30 seconds and join without a click.
#include "PackReader.h"

#include <SDL.h>
#include <gtest/gtest.h>

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
        // Across the seam the wave moves no more than it does between neighbouring
        // samples inside the loop.
        const std::vector<int16_t>& s = d.samples;
        int largestStep = 0;
        for (size_t i = 1; i < s.size(); ++i) largestStep = std::max(largestStep, std::abs(s[i] - s[i - 1]));
        EXPECT_LE(std::abs(s.front() - s.back()), largestStep);
        EXPECT_LT(std::abs(s.front() - s.back()), 4000);
        // The music plays all the way through: no second-long silence.
        const size_t window = 22050;
        for (size_t at = 0; at + window <= s.size(); at += window / 2) {
            int p = 0;
            for (size_t i = at; i < at + window; ++i) p = std::max(p, std::abs(static_cast<int>(s[i])));
            EXPECT_GT(p, 1000) << "silence at " << at / 22050.0 << " s";
        }
    }
}

}  // namespace
