#include "engine/SoundEngine.h"

#include <cstdio>
#include <string>
#include <vector>

#include "engine/FatalError.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"
#include "platform/ResourcePack.h"
#include "platform/SoundBuffer.h"
#include "platform/SoundDevice.h"

namespace {

// Fixed mixer channels: the three interface sounds, the loop, then the effect slots.
constexpr int kClickChannel = 0;
constexpr int kGlideChannel = 1;
constexpr int kEnterChannel = 2;
constexpr int kLoopChannel = 3;
constexpr int kFirstSlotChannel = 4;

constexpr const char16_t* kInitFailed = u"无法初始化音效引擎";
constexpr const char16_t* kDeviceAdvice =
    u"请确认声音设备或声音服务（PipeWire、PulseAudio 或 ALSA）可用。游戏将继续，但没有声音。";
constexpr const char16_t* kDamagedSounds = u"资源库中的界面声音无法解码：";
constexpr const char16_t* kReinstall = u"游戏数据已损坏，请重新安装游戏。游戏将继续，但没有声音。";
constexpr const char* kNoSoundOutput =
    "glyphor_police: no sound output on this machine (no ALSA device, no sound server): playing without sound\n";

bool ValidSlot(int index) { return index >= 0 && index < SoundEngine::kSlots; }

}  // namespace

SoundEngine::SoundEngine() {
    const std::string path = platform::ProgramPath("\\Game\\GameSnd.DLL");
    pack_ = platform::ResourcePack::Open(path);
    if (!pack_) {
        platform::ShowMessageBox(u"无法打开资源库" + platform::FromUtf8OrAnsi(path), platform::ApplicationTitle(),
                                 platform::MessageIcon::Error);
        EndAfterFatalError();
    }
}

SoundEngine::SoundEngine(std::unique_ptr<platform::ResourcePack> pack) : pack_(std::move(pack)) {}

SoundEngine::~SoundEngine() = default;

namespace {

std::unique_ptr<platform::SoundBuffer> LoadBuffer(const platform::ResourcePack* pack, platform::SoundDevice& device,
                                                  const std::string& name, int channel) {
    std::vector<uint8_t> bytes;
    if (pack == nullptr || !pack->Read(name + ".wav", bytes)) return nullptr;
    return device.CreateBuffer(bytes, channel);
}

// Game sounds are found in the pack and decoded when first played.
std::unique_ptr<platform::SoundBuffer> DeferBuffer(const std::shared_ptr<const platform::ResourcePack>& pack,
                                                   platform::SoundDevice& device, const std::string& name,
                                                   int channel) {
    const std::string entry = name + ".wav";
    if (pack == nullptr || !pack->Contains(entry)) return nullptr;
    return device.CreateDeferredBuffer(
        [pack, entry]() {
            std::vector<uint8_t> bytes;
            pack->Read(entry, bytes);
            return bytes;
        },
        channel, "the sound " + entry + " in " + pack->Path());
}

}  // namespace

bool SoundEngine::Init() {
    enabled_ = false;
    // A machine without any sound output is an ordinary one: the game plays silently.
    if (!platform::SoundDevice::AnyOutputExists()) {
        std::fputs(kNoSoundOutput, stderr);
        return false;
    }
    std::string reason;
    device_ = platform::SoundDevice::Open(&reason);
    if (device_) {
        click_ = LoadBuffer(pack_.get(), *device_, "BTN_CLICK", kClickChannel);
        if (click_) glide_ = LoadBuffer(pack_.get(), *device_, "GLIDE", kGlideChannel);
        if (glide_) enter_ = LoadBuffer(pack_.get(), *device_, "ANIBTN_ENTER", kEnterChannel);
    }
    if (!enter_) {
        std::u16string text = std::u16string(kInitFailed) + u"\r\n\r\n";
        if (device_) {
            text +=
                kDamagedSounds + platform::FromUtf8OrAnsi(pack_ ? pack_->Path() : std::string()) + u"\r\n" + kReinstall;
        } else {
            text += platform::FromUtf8(reason) + u"\r\n" + kDeviceAdvice;
        }
        click_.reset();
        glide_.reset();
        device_.reset();
        platform::ShowMessageBox(text, platform::ApplicationTitle());
        return false;
    }
    enabled_ = true;
    device_->SetMuted(muted_);
    return true;
}

namespace {

void Restart(platform::SoundBuffer* sound) {
    if (sound == nullptr) return;
    sound->Stop();
    sound->Rewind();
    sound->Play(false);
}

}  // namespace

void SoundEngine::PlayClick() {
    if (enabled_) Restart(click_.get());
}

void SoundEngine::PlayGlide() {
    if (enabled_) Restart(glide_.get());
}

void SoundEngine::PlayEnter() {
    if (enabled_) Restart(enter_.get());
}

bool SoundEngine::LoadLoop(const std::string& name) {
    if (!enabled_) return true;
    loop_.reset();  // the channel is the loop's alone
    loop_ = DeferBuffer(pack_, *device_, name, kLoopChannel);
    loopName_ = name;
    return loop_ != nullptr;
}

void SoundEngine::PlayLoop() {
    if (enabled_ && loop_) loop_->Play(true);
}

void SoundEngine::RewindLoop() {
    if (enabled_ && loop_) loop_->Rewind();
}

void SoundEngine::StopLoop() {
    if (enabled_ && loop_) loop_->Stop();
}

bool SoundEngine::LoadSound(const std::string& name, int16_t index) {
    // Indexes outside 0..10 are ignored, negative ones too.
    if (!enabled_ || !ValidSlot(index)) return true;
    auto& slot = slots_[static_cast<size_t>(index)];
    slot.reset();
    slot = DeferBuffer(pack_, *device_, name, kFirstSlotChannel + index);
    slotNames_[static_cast<size_t>(index)] = name;
    return slot != nullptr;
}

void SoundEngine::PlaySound(int16_t index) {
    if (!enabled_ || !ValidSlot(index)) return;
    if (auto& slot = slots_[static_cast<size_t>(index)]) {
        slot->Rewind();
        slot->Play(false);
    }
}

void SoundEngine::StopSound(int16_t index) {
    if (!enabled_ || !ValidSlot(index)) return;
    if (auto& slot = slots_[static_cast<size_t>(index)]) slot->Stop();
}

const platform::SoundBuffer* SoundEngine::Slot(int index) const {
    return ValidSlot(index) ? slots_[static_cast<size_t>(index)].get() : nullptr;
}

void SoundEngine::SetMuted(bool muted) {
    muted_ = muted;
    if (device_) device_->SetMuted(muted);
}

void SoundEngine::RestWhileSilent() {
    if (device_) device_->RestWhileSilent(platform::Clock::Now());
}

std::string SoundEngine::Status() {
    std::string line = std::string("sound: ") + (muted_ ? "off" : "on") + ", output peak " +
                       std::to_string(device_ ? device_->TakeOutputPeak() : 0) + ", playing:";
    auto add = [&line](const std::unique_ptr<platform::SoundBuffer>& sound, const std::string& name) {
        if (sound && sound->Playing()) line += " " + name;
    };
    add(click_, "BTN_CLICK");
    add(glide_, "GLIDE");
    add(enter_, "ANIBTN_ENTER");
    add(loop_, loopName_);
    for (size_t i = 0; i < slots_.size(); ++i) add(slots_[i], slotNames_[i]);
    return line;
}
