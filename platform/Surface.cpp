#include "platform/Surface.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {
namespace {

// A rectangle in 64-bit arithmetic, so that no caller value can overflow while clipping.
struct Box {
    int64_t left, top, right, bottom;
    bool Empty() const { return right <= left || bottom <= top; }
};

Box WholeOr(const Rect& r, int32_t width, int32_t height) {
    if (r.IsZero()) return {0, 0, width, height};
    return {r.left, r.top, r.right, r.bottom};
}

uint16_t Raw565(uint32_t r, uint32_t g, uint32_t b) {
    return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

// A pixel over black, each channel truncated.
uint16_t OverBlack(uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    if (a != 255) {
        r = r * a / 255;
        g = g * a / 255;
        b = b * a / 255;
    }
    return Raw565(r, g, b);
}

// 24- or 32-bit pixels of 8-bit channels, without palette or colour key: converted row by row
// without a 32-bit copy of the whole picture first.
bool PlainTrueColour(SDL_Surface* s) {
    const SDL_PixelFormat* f = s->format;
    return f->palette == nullptr && (f->BytesPerPixel == 3 || f->BytesPerPixel == 4) && f->Rloss == 0 &&
           f->Gloss == 0 && f->Bloss == 0 && (f->Amask == 0 || f->Aloss == 0) && !SDL_HasColorKey(s) &&
           !SDL_MUSTLOCK(s);
}

void ConvertTrueColour(const SDL_Surface* from, uint16_t* to, int32_t toPitch) {
    const SDL_PixelFormat* f = from->format;
    const int bytes = f->BytesPerPixel;
    for (int32_t y = 0; y < from->h; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(from->pixels) + static_cast<size_t>(y) * from->pitch;
        uint16_t* dst = to + static_cast<size_t>(y) * toPitch;
        for (int32_t x = 0; x < from->w; ++x, row += bytes) {
            uint32_t p = 0;
            if (bytes == 4) {
                std::memcpy(&p, row, 4);
            } else if (SDL_BYTEORDER == SDL_LIL_ENDIAN) {
                p = row[0] | (uint32_t{row[1]} << 8) | (uint32_t{row[2]} << 16);
            } else {
                p = (uint32_t{row[0]} << 16) | (uint32_t{row[1]} << 8) | row[2];
            }
            const uint32_t a = f->Amask != 0 ? (p & f->Amask) >> f->Ashift : 255;
            dst[x] =
                OverBlack((p & f->Rmask) >> f->Rshift, (p & f->Gmask) >> f->Gshift, (p & f->Bmask) >> f->Bshift, a);
        }
    }
}

// Copies a row skipping the pixels equal to `key`.
void CopyRowKeyed(uint16_t* dst, const uint16_t* src, int64_t count, uint16_t key) {
    int64_t i = 0;
#if defined(__SSE2__)
    const __m128i k = _mm_set1_epi16(static_cast<short>(key));
    for (; i + 8 <= count; i += 8) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        const __m128i transparent = _mm_cmpeq_epi16(s, k);
        const __m128i mixed = _mm_or_si128(_mm_and_si128(transparent, d), _mm_andnot_si128(transparent, s));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), mixed);
    }
#endif
    for (; i < count; ++i) {
        if (src[i] != key) dst[i] = src[i];
    }
}

// offset * sourceSize / destSize for 0 <= offset < destSize; both sizes are below 2^32, so the
// product fits 64 unsigned bits.
int64_t Scaled(int64_t offset, int64_t sourceSize, int64_t destSize) {
    return static_cast<int64_t>(static_cast<uint64_t>(offset) * static_cast<uint64_t>(sourceSize) /
                                static_cast<uint64_t>(destSize));
}

}  // namespace

Surface::Surface(SDL_Surface* s) : surface_(s), width_(s->w), height_(s->h) {}

Surface::Surface(int32_t width, int32_t height, Decoder decode)
    : surface_(nullptr), decode_(std::move(decode)), width_(width), height_(height) {}

std::shared_ptr<Surface> Surface::CreateDeferred(int32_t width, int32_t height, Decoder decode) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || !decode) return nullptr;
    return std::shared_ptr<Surface>(new Surface(width, height, std::move(decode)));
}

bool Surface::ExchangePixels(Surface& other) {
    if (width_ != other.width_ || height_ != other.height_ || hasKey_ || other.hasKey_) return false;
    if (surface_ == nullptr || other.surface_ == nullptr) return false;
    std::swap(surface_, other.surface_);
    return true;
}

void Surface::Realize() const {
    if (surface_ != nullptr) return;
    Decoder decode = std::move(decode_);
    decode_ = nullptr;
    std::shared_ptr<Surface> decoded = decode ? decode() : nullptr;
    if (decoded != nullptr && decoded->Width() == width_ && decoded->Height() == height_) {
        decoded->Realize();
        surface_ = decoded->surface_;
        decoded->surface_ = nullptr;
        return;
    }
    // The decoder reports its own failures; the picture stays black so nothing reads a null surface.
    surface_ = SDL_CreateRGBSurfaceWithFormat(0, width_, height_, 16, SDL_PIXELFORMAT_RGB565);
}

bool Surface::Supply(const std::shared_ptr<Surface>& decoded) const {
    if (surface_ != nullptr || decoded == nullptr || decoded.get() == this || decoded->Width() != width_ ||
        decoded->Height() != height_) {
        return false;
    }
    decoded->Realize();
    if (decoded->surface_ == nullptr) return false;
    surface_ = decoded->surface_;
    decoded->surface_ = nullptr;
    decode_ = nullptr;
    return true;
}

SDL_Surface* Surface::Sdl() const {
    Realize();
    return surface_;
}

Surface::~Surface() { SDL_FreeSurface(surface_); }

std::shared_ptr<Surface> Surface::Create(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return nullptr;
    // SDL fills the pixels of a new surface with 0 itself.
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, width, height, 16, SDL_PIXELFORMAT_RGB565);
    if (s == nullptr) return nullptr;
    return std::shared_ptr<Surface>(new Surface(s));
}

std::shared_ptr<Surface> Surface::Adopt(SDL_Surface* surface) {
    if (surface == nullptr) return nullptr;
    if (surface->w <= 0 || surface->h <= 0 || surface->w > kMaxSide || surface->h > kMaxSide) {
        SDL_FreeSurface(surface);
        return nullptr;
    }
    if (surface->format->format == SDL_PIXELFORMAT_RGB565 && !SDL_MUSTLOCK(surface)) {
        SDL_SetColorKey(surface, SDL_FALSE, 0);
        SDL_SetSurfaceBlendMode(surface, SDL_BLENDMODE_NONE);
        return std::shared_ptr<Surface>(new Surface(surface));
    }
    if (PlainTrueColour(surface)) {
        auto out = Create(surface->w, surface->h);
        if (out != nullptr) ConvertTrueColour(surface, out->Pixels(), out->PitchPixels());
        SDL_FreeSurface(surface);
        return out;
    }
    // Through 32-bit ARGB first: SDL turns a colour key or palette transparency into alpha.
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(surface);
    if (argb == nullptr) return nullptr;
    auto out = Create(argb->w, argb->h);
    if (out != nullptr) {
        SDL_LockSurface(argb);
        ConvertTrueColour(argb, out->Pixels(), out->PitchPixels());
        SDL_UnlockSurface(argb);
    }
    SDL_FreeSurface(argb);
    return out;
}

std::shared_ptr<Surface> Surface::Clone() const {
    auto copy = Create(Width(), Height());
    if (copy != nullptr) copy->CopyFast(0, 0, *this, Rect{}, false);
    return copy;
}

int32_t Surface::Width() const { return width_; }
int32_t Surface::Height() const { return height_; }

const uint16_t* Surface::Pixels() const {
    Realize();
    return static_cast<const uint16_t*>(surface_->pixels);
}
uint16_t* Surface::Pixels() {
    Realize();
    return static_cast<uint16_t*>(surface_->pixels);
}
int32_t Surface::PitchPixels() const {
    Realize();
    return surface_->pitch / 2;
}

bool Surface::CopyFast(int32_t x, int32_t y, const Surface& src, const Rect& srcRect, bool keyed) {
    Box s = WholeOr(srcRect, src.Width(), src.Height());
    if (s.Empty()) return false;
    int64_t dx = x;
    int64_t dy = y;
    // Clip the source rectangle to the source surface, moving the destination along.
    if (s.left < 0) {
        dx -= s.left;
        s.left = 0;
    }
    if (s.top < 0) {
        dy -= s.top;
        s.top = 0;
    }
    s.right = std::min<int64_t>(s.right, src.Width());
    s.bottom = std::min<int64_t>(s.bottom, src.Height());
    // Then to the destination surface.
    if (dx < 0) {
        s.left -= dx;
        dx = 0;
    }
    if (dy < 0) {
        s.top -= dy;
        dy = 0;
    }
    s.right = std::min<int64_t>(s.right, s.left + (Width() - dx));
    s.bottom = std::min<int64_t>(s.bottom, s.top + (Height() - dy));
    if (s.Empty()) return true;

    const int64_t w = s.right - s.left;
    const int64_t h = s.bottom - s.top;
    const bool useKey = keyed && src.hasKey_;
    std::vector<uint16_t> staged;  // copying a surface onto itself goes through a copy
    const uint16_t* from = src.Pixels();
    int64_t fromPitch = src.PitchPixels();
    if (&src == this) {
        staged.resize(static_cast<size_t>(w * h));
        for (int64_t row = 0; row < h; ++row) {
            std::memcpy(&staged[static_cast<size_t>(row * w)], from + (s.top + row) * fromPitch + s.left,
                        static_cast<size_t>(w) * 2);
        }
        from = staged.data();
        fromPitch = w;
        s.right -= s.left;
        s.bottom -= s.top;
        s.left = 0;
        s.top = 0;
    }
    for (int64_t row = 0; row < h; ++row) {
        const uint16_t* sp = from + (s.top + row) * fromPitch + s.left;
        uint16_t* dp = Pixels() + (dy + row) * PitchPixels() + dx;
        if (useKey) {
            CopyRowKeyed(dp, sp, w, src.key_);
        } else {
            std::memcpy(dp, sp, static_cast<size_t>(w) * 2);
        }
    }
    return true;
}

bool Surface::CopyStretched(const Rect& dstRect, const Surface& src, const Rect& srcRect, bool keyed) {
    const Box d = WholeOr(dstRect, Width(), Height());
    const Box s = WholeOr(srcRect, src.Width(), src.Height());
    if (d.Empty() || s.Empty()) return false;
    const int64_t dw = d.right - d.left;
    const int64_t dh = d.bottom - d.top;
    const int64_t sw = s.right - s.left;
    const int64_t sh = s.bottom - s.top;
    if (dw == sw && dh == sh) {
        return CopyFast(static_cast<int32_t>(d.left), static_cast<int32_t>(d.top), src, srcRect, keyed);
    }
    const int64_t x0 = std::max<int64_t>(d.left, 0);
    const int64_t x1 = std::min<int64_t>(d.right, Width());
    const int64_t y0 = std::max<int64_t>(d.top, 0);
    const int64_t y1 = std::min<int64_t>(d.bottom, Height());
    if (x1 <= x0 || y1 <= y0) return true;

    // Source column of each destination column; -1 where it falls outside the source.
    std::vector<int32_t> columns(static_cast<size_t>(x1 - x0));
    for (int64_t x = x0; x < x1; ++x) {
        const int64_t sx = s.left + Scaled(x - d.left, sw, dw);
        columns[static_cast<size_t>(x - x0)] = (sx >= 0 && sx < src.Width()) ? static_cast<int32_t>(sx) : -1;
    }
    const bool useKey = keyed && src.hasKey_;
    const Surface* from = &src;
    std::shared_ptr<Surface> staged;
    if (&src == this) {
        staged = src.Clone();
        if (staged == nullptr) return false;
        from = staged.get();
    }
    for (int64_t y = y0; y < y1; ++y) {
        const int64_t sy = s.top + Scaled(y - d.top, sh, dh);
        if (sy < 0 || sy >= src.Height()) continue;
        const uint16_t* sp = from->Pixels() + sy * from->PitchPixels();
        uint16_t* dp = Pixels() + y * PitchPixels();
        for (int64_t x = x0; x < x1; ++x) {
            const int32_t sx = columns[static_cast<size_t>(x - x0)];
            if (sx < 0) continue;
            const uint16_t p = sp[sx];
            if (useKey && p == src.key_) continue;
            dp[x] = p;
        }
    }
    return true;
}

void Surface::FillClipped(int64_t left, int64_t top, int64_t right, int64_t bottom, uint16_t raw) {
    left = std::max<int64_t>(left, 0);
    top = std::max<int64_t>(top, 0);
    right = std::min<int64_t>(right, Width());
    bottom = std::min<int64_t>(bottom, Height());
    if (right <= left || bottom <= top) return;
    SDL_Rect r{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
               static_cast<int>(bottom - top)};
    SDL_FillRect(Sdl(), &r, raw);
}

bool Surface::Fill(const Rect& rect, uint32_t raw) {
    const Box b = WholeOr(rect, Width(), Height());
    if (b.Empty()) return false;
    FillClipped(b.left, b.top, b.right, b.bottom, static_cast<uint16_t>(raw & 0xFFFF));
    return true;
}

bool Surface::DrawBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colorBgr) {
    const int64_t left = std::min(x1, x2);
    const int64_t right = std::max(x1, x2);
    const int64_t top = std::min(y1, y2);
    const int64_t bottom = std::max(y1, y2);
    if (right <= left || bottom <= top) return false;
    const uint16_t raw = RawFromBgr(colorBgr);
    FillClipped(left, top, right, top + 1, raw);
    FillClipped(left, bottom - 1, right, bottom, raw);
    FillClipped(left, top, left + 1, bottom, raw);
    FillClipped(right - 1, top, right, bottom, raw);
    return true;
}

void Surface::SetColorKey(uint16_t key) {
    key_ = key;
    hasKey_ = true;
}

void Surface::ClearColorKey() {
    key_ = 0;
    hasKey_ = false;
}

bool Surface::HasColorKey() const { return hasKey_; }

uint16_t Surface::ReadPixel(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
    Realize();
    const bool lock = SDL_MUSTLOCK(surface_);
    if (lock && SDL_LockSurface(surface_) != 0) return 0;
    const uint16_t value = Pixels()[static_cast<size_t>(y) * PitchPixels() + x];
    if (lock) SDL_UnlockSurface(surface_);
    return value;
}

uint16_t Surface::RawFromBgr(uint32_t colorBgr) {
    return Raw565(colorBgr & 0xFF, (colorBgr >> 8) & 0xFF, (colorBgr >> 16) & 0xFF);
}

}  // namespace platform
