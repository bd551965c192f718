// The mixer behind the sound buffers, heard through the output peak under the dummy audio
// driver: channels add up and clip once, loops go round, muted sounds play on unheard, and
// sounds of other forms are converted to the output's 16-bit mono at 22.05 kHz.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include "platform/SoundBuffer.h"
#include "platform/SoundDevice.h"
#include "tests/support/TempDir.h"

namespace {

// A PCM WAV of `frames` frames, every sample `value` (or `right` on the second channel).
std::vector<uint8_t> Wave(uint32_t rate, uint16_t channels, uint16_t bits, uint32_t frames, int value, int right) {
    std::vector<uint8_t> out;
    auto put = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    const uint32_t frameBytes = channels * bits / 8u;
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put(36 + frames * frameBytes, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put(16, 4);
    put(1, 2);
    put(channels, 2);
    put(rate, 4);
    put(rate * frameBytes, 4);
    put(frameBytes, 2);
    put(bits, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put(frames * frameBytes, 4);
    for (uint32_t i = 0; i < frames; ++i)
        for (uint16_t c = 0; c < channels; ++c) put(static_cast<uint32_t>(c == 0 ? value : right), bits / 8);
    return out;
}

// Mono 16-bit at the output's rate, `ms` milliseconds long.
std::vector<uint8_t> Constant(int value, uint32_t ms) { return Wave(22050, 1, 16, 22050 * ms / 1000, value, value); }

// Bounded polling: generous, so a loaded machine only makes the test slower.
bool WaitFor(const std::function<bool()>& condition) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// The next nonzero output peak, or 0 when none comes.
uint32_t NextPeak(platform::SoundDevice& device) {
    uint32_t peak = 0;
    WaitFor([&] { return (peak = device.TakeOutputPeak()) > 0; });
    return peak;
}

class SoundMixerTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 0); }
};

TEST_F(SoundMixerTest, ChannelsAddUpClipOnceLoopRoundAndPlayOnWhileMuted) {
    auto device = platform::SoundDevice::Open();
    ASSERT_NE(device, nullptr);
    auto loop = device->CreateBuffer(Constant(1000, 100), 0);
    auto loud = device->CreateBuffer(Constant(32000, 100), 1);
    auto against = device->CreateBuffer(Constant(-32000, 300), 2);
    auto effect = device->CreateBuffer(Constant(1000, 500), 3);
    ASSERT_TRUE(loop && loud && against && effect);
    ASSERT_EQ(loop->Length(), 2205u * 2);

    loop->Play(true);
    EXPECT_EQ(NextPeak(*device), 1000u);
    // The loop goes round: its position falls back while it plays on.
    uint32_t last = 0;
    EXPECT_TRUE(WaitFor([&] {
        const uint32_t now = loop->Position();
        const bool wrapped = now < last;
        last = now;
        return wrapped && loop->Playing();
    }));

    // 1000 + 32000 clips to the largest sample; with -32000 added the sum is 1000 again, as the
    // channels are added before anything is clipped.
    loud->Play(true);
    (void)device->TakeOutputPeak();
    EXPECT_EQ(NextPeak(*device), 32767u);
    against->Play(true);
    (void)device->TakeOutputPeak();
    EXPECT_EQ(NextPeak(*device), 1000u);

    // Muted, a sound plays to its end unheard while the loop goes on; unmuted, it is heard again.
    loud->Stop();
    against->Stop();
    device->SetMuted(true);
    effect->Play(false);
    (void)device->TakeOutputPeak();
    ASSERT_TRUE(WaitFor([&] { return !effect->Playing(); }));
    EXPECT_EQ(effect->Position(), effect->Length());
    EXPECT_EQ(device->TakeOutputPeak(), 0u);
    EXPECT_TRUE(loop->Playing());
    device->SetMuted(false);
    EXPECT_EQ(NextPeak(*device), 1000u);
}

TEST_F(SoundMixerTest, OtherFormsAreConvertedToSixteenBitMonoAtTheOutputRate) {
    auto device = platform::SoundDevice::Open();
    ASSERT_NE(device, nullptr);
    // 200 ms of 16-bit stereo at 44.1 kHz and of unsigned 8-bit mono at 11.025 kHz: 4410 samples.
    auto stereo = device->CreateBuffer(Wave(44100, 2, 16, 8820, 1000, 3000), 0);
    auto narrow = device->CreateBuffer(Wave(11025, 1, 8, 2205, 0xC0, 0xC0), 1);
    ASSERT_TRUE(stereo && narrow);
    EXPECT_NEAR(stereo->Length(), 8820.0, 64.0);
    EXPECT_NEAR(narrow->Length(), 8820.0, 64.0);

    // The two channels of a frame are averaged.
    stereo->Play(true);
    EXPECT_NEAR(NextPeak(*device), 2000.0, 300.0);
    stereo->Stop();
    narrow->Play(true);
    (void)device->TakeOutputPeak();
    EXPECT_NEAR(NextPeak(*device), 16384.0, 2500.0);
}

// A device that goes away while a sound plays (the sound server ended or restarted) leaves the
// output open but dead; the next sound opens it anew on the device that is there now, and the
// music goes on there. The disk driver loses its device when it cannot write its file.
TEST(SoundOutputLossTest, TheNextSoundOpensAnOutputWhoseDeviceWentAway) {
    testsupport::TempDir dir;
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/full", 1);
    auto device = platform::SoundDevice::Open();
    ASSERT_NE(device, nullptr);
    auto sound = device->CreateBuffer(Constant(2000, 5000), 0);
    ASSERT_NE(sound, nullptr);
    sound->Play(false);
    auto music = device->CreateBuffer(Constant(1000, 2000), 2);
    ASSERT_NE(music, nullptr);
    music->Play(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    // The lost output still calls the mixer, but nothing it mixes is heard any more.
    const std::string written = dir.Path() + "out.raw";
    setenv("SDL_DISKAUDIOFILE", written.c_str(), 1);
    auto next = device->CreateBuffer(Constant(2000, 100), 1);
    ASSERT_NE(next, nullptr);
    next->Play(false);
    EXPECT_TRUE(WaitFor([&] {
        std::error_code error;
        const auto size = std::filesystem::file_size(written, error);
        return !error && size > 0;
    })) << "no new output was opened";
    EXPECT_TRUE(music->Playing());
    EXPECT_FALSE(sound->Playing());
    music.reset();
    next.reset();
    sound.reset();
    device.reset();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

}  // namespace
