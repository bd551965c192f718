#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {
class ResourcePack;
class SoundDevice;
class SoundBuffer;
}  // namespace platform

// Interface sounds, one background loop and eleven effect slots, all loaded by name from
// "GameSnd.DLL". After a failed set-up every operation does nothing and the game runs silent.
class SoundEngine {
public:
    static constexpr int kSlots = 11;

    // Opens "GameSnd.DLL" in the program's Game folder; when it is missing, shows
    // "无法打开资源库" + path and ends the program (EndAfterFatalError).
    SoundEngine();
    // Tests: an engine over a given pack.
    explicit SoundEngine(std::unique_ptr<platform::ResourcePack> pack);
    ~SoundEngine();

    bool Init();
    bool Enabled() const { return enabled_; }

    void PlayClick();
    void PlayGlide();
    void PlayEnter();
    bool LoadLoop(const std::string& name);
    void PlayLoop();
    void RewindLoop();
    void StopLoop();
    bool LoadSound(const std::string& name, int16_t index);
    void PlaySound(int16_t index);
    void StopSound(int16_t index);

    // Silences music and effects at once, or brings them back. The choice holds even while the
    // engine is silent and reaches the output as soon as there is one.
    void SetMuted(bool muted);
    bool Muted() const { return muted_; }
    // A still screen is about to sleep: after two seconds without a sound playing, the output
    // closes until the next sound, so nothing wakes the program meanwhile.
    void RestWhileSilent();
    // One line on what the engine plays: "sound: on|off, output peak N, playing: NAME ..." with
    // the loudest sample the mixer has sent out since the last such line (0 to 32768).
    std::string Status();

    // Tests: the buffers behind the engine.
    const platform::SoundBuffer* Click() const { return click_.get(); }
    const platform::SoundBuffer* Loop() const { return loop_.get(); }
    const platform::SoundBuffer* Slot(int index) const;

private:
    // Shared with the sounds still waiting to be decoded.
    std::shared_ptr<platform::ResourcePack> pack_;
    std::unique_ptr<platform::SoundDevice> device_;
    bool enabled_ = false;
    bool muted_ = false;
    std::string loopName_;
    std::array<std::string, kSlots> slotNames_;
    std::unique_ptr<platform::SoundBuffer> click_, glide_, enter_, loop_;
    std::array<std::unique_ptr<platform::SoundBuffer>, kSlots> slots_;
};
