#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <thread>

#include "engine/SoundEngine.h"
#include "platform/ResourcePack.h"
#include "platform/SoundBuffer.h"
#include "platform/SoundDevice.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZipWriter.h"

namespace {

// A mono 16-bit WAV of `ms` milliseconds of a quiet tone.
std::vector<uint8_t> Wave(int ms) {
    const uint32_t rate = 22050;
    const uint32_t samples = rate * static_cast<uint32_t>(ms) / 1000;
    std::vector<uint8_t> out;
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    auto put16 = [&](uint16_t v) {
        out.push_back(static_cast<uint8_t>(v));
        out.push_back(static_cast<uint8_t>(v >> 8));
    };
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put32(36 + samples * 2);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(16);
    put16(1);
    put16(1);
    put32(rate);
    put32(rate * 2);
    put16(2);
    put16(16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put32(samples * 2);
    for (uint32_t i = 0; i < samples; ++i) put16(static_cast<uint16_t>(static_cast<int16_t>(800 * std::sin(i * 0.05))));
    return out;
}

// The same kind of tone as an AIFF file: a sound the mixer decodes, but no WAV.
std::vector<uint8_t> Aiff(uint32_t frames) {
    std::vector<uint8_t> out;
    auto put32 = [&](uint32_t v) {
        for (int i = 3; i >= 0; --i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    out.insert(out.end(), {'F', 'O', 'R', 'M'});
    put32(4 + 26 + 16 + frames * 2);
    out.insert(out.end(), {'A', 'I', 'F', 'F', 'C', 'O', 'M', 'M', 0, 0, 0, 18, 0, 1});
    put32(frames);
    // 16 bits, 22050 Hz as an 80-bit extended number.
    out.insert(out.end(), {0, 16, 0x40, 0x0D, 0xAC, 0x44, 0, 0, 0, 0, 0, 0, 'S', 'S', 'N', 'D'});
    put32(8 + frames * 2);
    put32(0);
    put32(0);
    for (uint32_t i = 0; i < frames; ++i) out.insert(out.end(), {static_cast<uint8_t>(i), 0});
    return out;
}

class SoundEngineTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 0); }

    // A sound pack with the interface sounds (unless left out), a long loop and an effect.
    std::unique_ptr<platform::ResourcePack> Pack(bool withInterfaceSounds = true) {
        testsupport::ZipWriter zip;
        if (withInterfaceSounds) {
            zip.Add("BTN_CLICK.wav", Wave(1000));
            zip.Add("GLIDE.wav", Wave(50));
            zip.Add("ANIBTN_ENTER.wav", Wave(50));
        }
        zip.Add("LOOP.wav", Wave(3000));
        zip.Add("FX.wav", Wave(1000));
        std::vector<uint8_t> damaged = Wave(1000);
        std::fill(damaged.begin() + 12, damaged.end(), uint8_t{0xA5});
        zip.Add("BAD.wav", damaged);
        const std::string path = dir_.Path() + "GameSnd.DLL";
        EXPECT_TRUE(zip.Write(path));
        return platform::ResourcePack::Open(path);
    }

    static bool WaitFor(const std::function<bool()>& condition) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > end) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

private:
    testsupport::TempDir dir_;
};

TEST_F(SoundEngineTest, WithoutAudioOutputEverythingIsSilentAndHarmless) {
    const char* before = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = before != nullptr ? before : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SoundEngine engine(Pack());
    EXPECT_FALSE(engine.Init());
    if (before != nullptr)
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");

    EXPECT_FALSE(engine.Enabled());
    EXPECT_TRUE(engine.LoadLoop("LOOP"));
    EXPECT_TRUE(engine.LoadSound("FX", 0));
    EXPECT_EQ(engine.Loop(), nullptr);
    EXPECT_EQ(engine.Slot(0), nullptr);
    engine.PlayClick();
    engine.PlayGlide();
    engine.PlayEnter();
    engine.PlayLoop();
    engine.RewindLoop();
    engine.StopLoop();
    engine.PlaySound(0);
    engine.StopSound(0);
}

TEST_F(SoundEngineTest, MissingInterfaceSoundsLeaveTheEngineSilent) {
    SoundEngine engine(Pack(/*withInterfaceSounds=*/false));
    EXPECT_FALSE(engine.Init());
    EXPECT_FALSE(engine.Enabled());
    EXPECT_TRUE(engine.LoadSound("FX", 0));
    EXPECT_EQ(engine.Slot(0), nullptr);
}

// A pack's sound reaches the mixer only as a whole RIFF WAVE file of a bounded decoded size:
// other formats it could decode, bytes that are no sound, a data chunk claiming more than the
// file holds, and a rate that would convert to hundreds of megabytes give no buffer.
TEST_F(SoundEngineTest, OnlyWholeWaveSoundsOfABoundedSizeBecomeBuffers) {
    auto device = platform::SoundDevice::Open();
    ASSERT_NE(device, nullptr);
    EXPECT_NE(device->CreateBuffer(Wave(20), 0), nullptr);
    EXPECT_EQ(device->CreateBuffer(Aiff(400), 0), nullptr);
    std::vector<uint8_t> notWave = Wave(20);
    std::copy_n("AVI ", 4, notWave.begin() + 8);
    EXPECT_EQ(device->CreateBuffer(notWave, 0), nullptr);
    EXPECT_EQ(device->CreateBuffer({'\n', '5', 'z', '\n'}, 0), nullptr);
    EXPECT_EQ(device->CreateBuffer({}, 0), nullptr);

    std::vector<uint8_t> cut = Wave(20);
    cut[42] = 0x90;  // the data chunk claims 2.4 GB
    cut[43] = 0x94;
    EXPECT_EQ(device->CreateBuffer(cut, 0), nullptr);
    std::vector<uint8_t> slow = Wave(100);
    slow[24] = 1;  // 1 Hz
    slow[25] = slow[26] = slow[27] = 0;
    EXPECT_EQ(device->CreateBuffer(slow, 0), nullptr);
}

TEST_F(SoundEngineTest, SlotsOutsideZeroToTenAreIgnored) {
    SoundEngine engine(Pack());
    ASSERT_TRUE(engine.Init());
    EXPECT_TRUE(engine.LoadSound("FX", 10));
    EXPECT_NE(engine.Slot(10), nullptr);
    EXPECT_TRUE(engine.LoadSound("FX", 11));
    EXPECT_TRUE(engine.LoadSound("FX", -1));
    EXPECT_EQ(engine.Slot(11), nullptr);
    EXPECT_EQ(engine.Slot(-1), nullptr);
    engine.PlaySound(11);
    engine.PlaySound(-1);
    engine.StopSound(-1);
    engine.PlaySound(3);  // never loaded
    EXPECT_EQ(engine.Slot(3), nullptr);
    EXPECT_FALSE(engine.LoadSound("NO_SUCH_SOUND", 2));  // a load failure is reported

    engine.PlaySound(10);
    EXPECT_TRUE(engine.Slot(10)->Playing());
    engine.StopSound(10);
    EXPECT_FALSE(engine.Slot(10)->Playing());
}

// Game sounds are decoded when first played: a good one is then the sound an eagerly decoded
// one is (the click is the same wave), a damaged one stays silent and harmless.
TEST_F(SoundEngineTest, GameSoundsDecodedOnFirstUseMatchAndDamagedOnesStaySilent) {
    SoundEngine engine(Pack());
    ASSERT_TRUE(engine.Init());
    ASSERT_TRUE(engine.LoadSound("FX", 0));
    ASSERT_TRUE(engine.LoadSound("BAD", 1));
    ASSERT_NE(engine.Slot(1), nullptr);
    engine.PlaySound(0);
    EXPECT_TRUE(engine.Slot(0)->Playing());
    EXPECT_EQ(engine.Slot(0)->Length(), engine.Click()->Length());
    EXPECT_GT(engine.Slot(0)->Length(), 0u);
    engine.PlaySound(1);
    EXPECT_FALSE(engine.Slot(1)->Playing());
    EXPECT_EQ(engine.Slot(1)->Length(), 0u);
    engine.StopSound(1);
    EXPECT_TRUE(engine.LoadSound("BAD", 1));  // reloading a sound never played frees nothing twice
}

// A second trigger of a sound that is still playing (or stopped half-way) starts it again from
// the beginning: interface sounds and effect slots alike.
TEST_F(SoundEngineTest, TriggeringASoundAgainRestartsItFromTheBeginning) {
    SoundEngine engine(Pack());
    ASSERT_TRUE(engine.Init());
    ASSERT_TRUE(engine.LoadSound("FX", 4));
    const platform::SoundBuffer& click = *engine.Click();
    const platform::SoundBuffer& slot = *engine.Slot(4);
    const auto restartsWhilePlaying = [](const platform::SoundBuffer& sound, const std::function<void()>& trigger) {
        trigger();
        if (!WaitFor([&] { return sound.Position() > sound.Length() / 4; })) return false;
        const uint32_t before = sound.Position();
        trigger();
        return sound.Playing() && sound.Position() < before;
    };
    EXPECT_TRUE(restartsWhilePlaying(click, [&] { engine.PlayClick(); }));
    EXPECT_TRUE(restartsWhilePlaying(slot, [&] { engine.PlaySound(4); }));

    ASSERT_TRUE(WaitFor([&] { return slot.Position() > slot.Length() / 4; }));
    engine.StopSound(4);
    EXPECT_FALSE(slot.Playing());
    engine.PlaySound(4);
    EXPECT_TRUE(slot.Playing());
    EXPECT_LT(slot.Position(), slot.Length() / 4);
}

TEST_F(SoundEngineTest, StopKeepsTheLoopPositionAndRewindRestartsIt) {
    SoundEngine engine(Pack());
    ASSERT_TRUE(engine.Init());
    ASSERT_TRUE(engine.LoadLoop("LOOP"));
    const platform::SoundBuffer& loop = *engine.Loop();

    engine.PlayLoop();
    ASSERT_TRUE(WaitFor([&] { return loop.Position() > loop.Length() / 10; }));
    engine.StopLoop();
    EXPECT_FALSE(loop.Playing());
    const uint32_t stoppedAt = loop.Position();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(loop.Position(), stoppedAt);

    // Playing again goes on from where it stopped.
    engine.PlayLoop();
    EXPECT_TRUE(loop.Playing());
    EXPECT_GE(loop.Position(), stoppedAt);
    ASSERT_TRUE(WaitFor([&] { return loop.Position() > stoppedAt; }));

    // Rewinding a playing loop restarts it from the beginning.
    engine.RewindLoop();
    EXPECT_LT(loop.Position(), stoppedAt);
    EXPECT_TRUE(loop.Playing());

    // Rewinding a stopped loop sets it to the start without playing it.
    engine.StopLoop();
    engine.RewindLoop();
    EXPECT_EQ(loop.Position(), 0u);
    EXPECT_FALSE(loop.Playing());
    engine.PlayLoop();
    EXPECT_TRUE(loop.Playing());
}

TEST_F(SoundEngineTest, ASilentOutputRestsUntilTheNextSoundAndAPausedLoopKeepsItsPlaceMeanwhile) {
    auto device = platform::SoundDevice::Open();
    ASSERT_TRUE(device);
    auto loop = device->CreateBuffer(Wave(3000), 1);
    auto click = device->CreateBuffer(Wave(20), 2);
    auto effect = device->CreateDeferredBuffer([] { return Wave(1000); }, 3);
    ASSERT_TRUE(loop && click && effect);
    // A sound played to its end before the output rests.
    click->Play(false);
    ASSERT_TRUE(WaitFor([&] { return !click->Playing(); }));

    // A paused loop does not hold the output open: it keeps its place while the output rests,
    // and goes on from there.
    loop->Play(true);
    ASSERT_TRUE(WaitFor([&] { return loop->Position() > 0; }));
    loop->Stop();
    const uint32_t stoppedAt = loop->Position();
    device->RestWhileSilent(1000);
    device->RestWhileSilent(3000);
    EXPECT_TRUE(platform::SoundDevice::Resting());
    loop->Play(true);
    EXPECT_FALSE(platform::SoundDevice::Resting());
    EXPECT_TRUE(loop->Playing());
    EXPECT_GE(loop->Position(), stoppedAt);
    EXPECT_TRUE(WaitFor([&] { return loop->Position() > stoppedAt; }));

    // Silence is counted from the first call that finds it; two seconds of it close the output.
    loop->Stop();
    loop->Rewind();
    device->RestWhileSilent(10000);
    device->RestWhileSilent(11999);
    EXPECT_FALSE(platform::SoundDevice::Resting());
    device->RestWhileSilent(12000);
    EXPECT_TRUE(platform::SoundDevice::Resting());
    EXPECT_FALSE(click->Playing());

    // The next sounds, one decoded only now, open it again and are heard.
    (void)device->TakeOutputPeak();
    click->Play(false);
    effect->Play(false);
    EXPECT_FALSE(platform::SoundDevice::Resting());
    EXPECT_TRUE(effect->Playing());
    EXPECT_TRUE(WaitFor([&] { return device->TakeOutputPeak() > 0; }));
    loop->Play(true);
    EXPECT_TRUE(loop->Playing());

    // One whose bytes turn out to be no sound stays silent and says so, naming itself.
    auto damaged = device->CreateDeferredBuffer([] { return std::vector<uint8_t>{'R', 'I', 'F', 'F'}; }, 4, "DAMAGED");
    ASSERT_TRUE(damaged);
    testing::internal::CaptureStderr();
    damaged->Play(false);
    damaged->Play(false);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(damaged->Playing());
    EXPECT_EQ(said, "glyphor_police: DAMAGED is damaged and plays as silence\n");
}

}  // namespace
