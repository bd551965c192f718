#include "engine/GraphicEngine.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

#include "engine/AheadPictures.h"
#include "engine/FatalError.h"
#include "engine/GameFont.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/Display.h"
#include "platform/FontFace.h"
#include "platform/LibraryError.h"
#include "platform/MessageBox.h"
#include "platform/PictureLoader.h"
#include "platform/ProgramFolder.h"
#include "platform/ResourcePack.h"

namespace {

constexpr int32_t kScreenWidth = platform::Display::kWidth;
constexpr int32_t kScreenHeight = platform::Display::kHeight;

// The face a device context uses before any font is selected into it.
std::shared_ptr<platform::FontFace> DefaultFace() {
    static std::shared_ptr<platform::FontFace> face = platform::FontFace::Create(platform::FontRequest{});
    return face;
}

// Text goes through the ANSI code page on its way to the screen: characters outside it are
// drawn as '?'.
std::u16string ThroughAnsi(const std::u16string& text) { return platform::FromAnsi(platform::ToAnsi(text)); }

// The picture `entry` of the pack, decoded (or taken from those decoded ahead); null when it
// cannot be read or decoded, or is not `width` by `height`.
platform::SurfacePtr DecodeFromPack(const platform::ResourcePack& pack, const std::string& entry, int32_t width,
                                    int32_t height, AheadPictures* ahead) {
    platform::SurfacePtr picture = ahead != nullptr ? ahead->Take(entry) : nullptr;
    if (picture == nullptr) {
        std::vector<uint8_t> bytes;
        picture = pack.Read(entry, bytes) ? platform::LoadPng(bytes) : nullptr;
    }
    if (picture == nullptr || picture->Width() != width || picture->Height() != height) return nullptr;
    return picture;
}

[[noreturn]] void PictureFailed(const platform::ResourcePack* pack, const std::string& name) {
    platform::ShowMessageBox(GraphicEngine::PictureFailureMessage(pack, name), platform::ApplicationTitle());
    EndAfterFatalError();
}

}  // namespace

GraphicEngine::GraphicEngine() {
    std::u16string message;
    pack_ = OpenPicturePack(message);
    if (pack_ == nullptr) {
        platform::ShowMessageBox(message, platform::ApplicationTitle(), platform::MessageIcon::Error);
        EndAfterFatalError();
    }
}

GraphicEngine::GraphicEngine(std::unique_ptr<platform::ResourcePack> pack) : pack_(std::move(pack)) {}

GraphicEngine::~GraphicEngine() = default;

std::unique_ptr<platform::ResourcePack> GraphicEngine::OpenPicturePack(std::u16string& failureMessage) {
    failureMessage.clear();
    auto pack = platform::ResourcePack::Open(platform::ProgramPath("\\Game\\GameRes.DLL"));
    if (pack == nullptr) {
        failureMessage = u"无法打开资源库" + platform::FromUtf8(platform::ProgramFolder()) + u"Game/" + u"GameRes.DLL";
    }
    return pack;
}

std::u16string GraphicEngine::DisplayFailureMessage() {
    std::u16string text = u"无法初始化图形引擎\r\n\r\n";
    const std::string reason = platform::LastLibraryError();
    if (!reason.empty()) text += platform::FromUtf8(reason) + u"\r\n";
    text += u"请在图形桌面（X11 或 Wayland 会话）中运行游戏，并确认 DISPLAY 或 WAYLAND_DISPLAY 指向可用的显示。";
    return text;
}

const std::u16string& GraphicEngine::NoFontMessage() {
    static const std::u16string text =
        u"找不到可用的字体,游戏中的文字将无法显示.\r\n请安装中文字体(如 fonts-wqy-zenhei)后重新运行游戏.";
    return text;
}

std::u16string GraphicEngine::PictureFailureMessage(const std::string& name) const {
    return PictureFailureMessage(pack_.get(), name);
}

std::u16string GraphicEngine::PictureFailureMessage(const platform::ResourcePack* pack, const std::string& name) {
    std::u16string text = u"游戏数据已损坏，无法运行游戏";
    // The player (or whoever helps him) learns which picture of which pack is at fault.
    text += u"\r\n\r\n图片 " + platform::FromUtf8(name) + u".png";
    if (pack == nullptr) {
        text += u" 无法载入: 没有打开的资源库";
    } else {
        text += pack->Contains(name + ".png") ? std::u16string{u" 无法解码: "} : std::u16string{u" 不在资源库中: "};
        text += platform::FromUtf8OrAnsi(pack->Path());
    }
    text += u"\r\n请重新安装游戏。";
    return text;
}

bool GraphicEngine::Init(platform::Display* display) {
    display_ = display;
    if (display_ != nullptr && !display_->InitRenderer()) {
        platform::ShowMessageBox(DisplayFailureMessage(), platform::ApplicationTitle());
        return false;
    }
    back_ = platform::Surface::Create(kScreenWidth, kScreenHeight);
    if (back_ == nullptr) {
        platform::ShowMessageBox(DisplayFailureMessage(), platform::ApplicationTitle());
        return false;
    }
    return true;
}

bool GraphicEngine::LoadPicture(platform::SurfacePtr& out, const std::string& name) {
    out.reset();
    const std::string entry = name + ".png";
    std::vector<uint8_t> header;
    int32_t width = 0;
    int32_t height = 0;
    if (pack_ != nullptr && pack_->ReadPrefix(entry, platform::kPngHeaderBytes, header) &&
        platform::PngSize(header, width, height)) {
        std::shared_ptr<const platform::ResourcePack> pack = pack_;
        std::shared_ptr<AheadPictures> ahead = ahead_ != nullptr && ahead_->Covers(entry) ? ahead_ : nullptr;
        out = platform::Surface::CreateDeferred(
            width, height, [pack, ahead, entry, name, width, height]() -> platform::SurfacePtr {
                // A picture found in the pack but not decodable when first drawn ends the program
                // the way a missing one does at load time.
                platform::SurfacePtr picture = DecodeFromPack(*pack, entry, width, height, ahead.get());
                if (picture == nullptr) PictureFailed(pack.get(), name);
                return picture;
            });
    }
    if (out == nullptr) PictureFailed(pack_.get(), name);
    pending_.push_back(PendingPicture{out, entry});
    return true;
}

bool GraphicEngine::DecodeWhileIdle(uint32_t deadline) {
    using SteadyClock = std::chrono::steady_clock;
    // A little time is kept back for the frame itself.
    constexpr double kReserveMs = 2.0;
    bool decoded = false;
    if (ahead_ != nullptr) ahead_->JoinIfFinished();
    while (!pending_.empty() && pack_ != nullptr) {
        const std::shared_ptr<const platform::Surface> picture = pending_.front().picture.lock();
        if (picture == nullptr || picture->Decoded()) {
            pending_.pop_front();
            continue;
        }
        const double pixels = static_cast<double>(picture->Width()) * picture->Height();
        const double expectedMs = pixels * nanosecondsPerPixel_ / 1e6;
        const auto left = static_cast<int32_t>(deadline - platform::Clock::Now());
        if (static_cast<double>(left) < expectedMs + kReserveMs) return decoded;

        const auto start = SteadyClock::now();
        picture->Supply(
            DecodeFromPack(*pack_, pending_.front().entry, picture->Width(), picture->Height(), ahead_.get()));
        pending_.pop_front();
        decoded = true;
        const double tookNs = std::chrono::duration<double, std::nano>(SteadyClock::now() - start).count();
        // Slower pictures raise the estimate at once; faster ones lower it slowly.
        const double observed = tookNs / pixels;
        nanosecondsPerPixel_ = observed > nanosecondsPerPixel_ ? observed : 0.9 * nanosecondsPerPixel_ + 0.1 * observed;
    }
    return decoded;
}

void GraphicEngine::DecodeAhead(const std::vector<std::string>& names) {
    if (pack_ == nullptr || names.empty()) return;
    std::vector<std::string> entries;
    for (const std::string& name : names) entries.push_back(name + ".png");
    ahead_ = std::make_shared<AheadPictures>(pack_, std::move(entries));
}

void GraphicEngine::BeginText() {
    if (textOpen_ || back_ == nullptr) return;
    textOpen_ = true;
    face_ = font_ != nullptr ? font_->GetHandle() : nullptr;
    if (face_ == nullptr) face_ = DefaultFace();
    if (face_ == nullptr) {
        // The game goes on without text; the player learns why once, not every frame.
        static bool told = false;
        if (!told) {
            told = true;
            platform::ShowMessageBox(NoFontMessage(), platform::ApplicationTitle(), platform::MessageIcon::Error);
        }
    }
}

void GraphicEngine::EndText() {
    textOpen_ = false;
    face_.reset();
}

void GraphicEngine::SetFont(std::shared_ptr<GameFont> font) { font_ = std::move(font); }

void GraphicEngine::SetTextColor(uint32_t colorBgr) {
    if (textOpen_) textColor_ = colorBgr;
}

bool GraphicEngine::DrawText(int32_t x, int32_t y, const std::u16string& text) {
    if (!textOpen_ || face_ == nullptr) return false;
    return face_->Draw(*back_, x, y, ThroughAnsi(text), textColor_);
}

bool GraphicEngine::DrawTextClipped(int32_t x, int32_t y, const std::u16string& text, const platform::Rect& clip) {
    if (!textOpen_ || face_ == nullptr) return false;
    return face_->Draw(*back_, x, y, ThroughAnsi(text), textColor_, &clip);
}

platform::Size GraphicEngine::MeasureText(const std::u16string& text) {
    if (!textOpen_ || face_ == nullptr) return platform::Size{};
    return face_->Measure(ThroughAnsi(text));
}

bool GraphicEngine::DrawTextFitted(int32_t x, int32_t y, const std::u16string& text, const platform::Rect& clip) {
    return DrawTextClipped(x, y, FittedText(text, clip.right - x), clip);
}

std::u16string GraphicEngine::FittedText(const std::u16string& text, int32_t width) {
    if (MeasureText(text).cx <= width) return text;
    // The longest start of the text that fits with the mark: `fits` does, `over` does not.
    size_t fits = 0;
    size_t over = text.size();
    while (over - fits > 1) {
        const size_t middle = fits + (over - fits) / 2;
        (MeasureText(text.substr(0, middle) + u"\u2026").cx <= width ? fits : over) = middle;
    }
    // A character outside the basic plane is kept whole or dropped whole.
    if (fits > 0 && text[fits - 1] >= 0xD800 && text[fits - 1] <= 0xDBFF) --fits;
    return text.substr(0, fits) + u"\u2026";
}

bool GraphicEngine::FillBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t outlineBgr, uint32_t fill) {
    const bool filled = back_->Fill(platform::Rect{x1, y1, x2, y2}, fill);
    const bool outlined = back_->DrawBox(x1, y1, x2, y2, outlineBgr);
    return filled && outlined;
}

bool GraphicEngine::DrawKeyed(int32_t x, int32_t y, const platform::Surface& picture, const platform::Rect& src) {
    return back_->CopyFast(x, y, picture, src, true);
}

bool GraphicEngine::DrawOpaque(int32_t x, int32_t y, const platform::Surface& picture, const platform::Rect& src) {
    return back_->CopyFast(x, y, picture, src, false);
}

bool GraphicEngine::DrawKeyedClipped(int32_t x, int32_t y, const platform::Surface& picture, platform::Rect& src) {
    // 64-bit intermediates: the results fit the rectangle for every position on or near the
    // screen, and far-off values cannot overflow.
    auto narrow = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    const bool whole = src.IsZero();
    if (x < 0) {
        src.left = narrow(int64_t{src.left} - x);
        x = 0;
    } else if (int64_t{src.right} - src.left + x > kScreenWidth) {
        src.right = narrow(int64_t{src.left} - x + kScreenWidth);
    }
    if (y < 0) {
        src.top = narrow(int64_t{src.top} - y);
        y = 0;
    } else if (int64_t{src.bottom} - src.top + y > kScreenHeight) {
        src.bottom = narrow(int64_t{src.top} - y + kScreenHeight);
    }
    // A picture wholly off the screen leaves an empty or inverted rectangle: nothing to draw.
    // Only the caller's own all-zero rectangle means the whole picture; clipping that ends at
    // all zeros has left nothing.
    if (!(whole && src.IsZero()) && (src.right <= src.left || src.bottom <= src.top)) return true;
    return back_->CopyFast(x, y, picture, src, true);
}

bool GraphicEngine::StretchDraw(const platform::Rect& dest, const platform::Surface& picture, const platform::Rect& src,
                                uint32_t flags) {
    return back_->CopyStretched(dest, picture, src, (flags & kCopySrcColorKey) != 0);
}

bool GraphicEngine::Clear(uint32_t fill) { return back_->Fill(platform::Rect{}, fill); }

bool GraphicEngine::Present() {
    if (display_ == nullptr) return true;
    return display_->PresentBack(*back_);
}

void GraphicEngine::MarkChangedAround(const platform::Rect& still) {
    if (display_ != nullptr) display_->MarkChangedAround(still);
}

bool GraphicEngine::PresentIfForced() {
    if (display_ == nullptr || !display_->PresentForced()) return true;
    return display_->Present(*back_);
}

bool GraphicEngine::IsLost() { return display_ != nullptr && display_->IsLost(); }

bool GraphicEngine::IsHidden() { return display_ != nullptr && display_->IsHidden(); }

bool GraphicEngine::RestoreSurfaces() {
    // The back surface lives in memory and is never lost; the presentation is recreated.
    if (display_ == nullptr) return true;
    return display_->Restore();
}
