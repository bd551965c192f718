#include "platform/FontFace.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdlib>
#include <list>
#include <map>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "platform/CodePage.h"

namespace platform {

struct FontFace::Face {
    uint64_t id = 0;
    std::shared_ptr<TTF_Font> font;
    std::string file;
    int32_t lineHeight = 0;
    int32_t ascent = 0;
    FontRequest request;
    // A Chinese face of the same size, for a line with characters this face has no glyph for
    // (a race text in Chinese drawn in the Latin race font); looked for once, when first needed.
    std::shared_ptr<Face> wide;
    bool wideLooked = false;
    // Widths of the texts measured lately: a race measures its typing line every frame, and
    // shaping a line costs more than drawing it from the line cache.
    mutable std::unordered_map<std::string, int32_t> widths;
};

namespace {

constexpr int32_t kDefaultEm = 16;
constexpr int32_t kMaxPixels = 512;
constexpr size_t kMaxTextBytes = 4096;
constexpr size_t kLineCacheSize = 128;
constexpr size_t kWidthCacheSize = 512;
constexpr int kProbeSize = 64;

uint64_t g_filesOpened = 0;
uint64_t g_linesRendered = 0;

bool EnsureTtf() {
    static const bool ok = TTF_WasInit() != 0 || TTF_Init() == 0;
    return ok;
}

// Where a request's face lives.
struct Located {
    std::string file;
    int index = 0;
    bool syntheticBold = false;
};

bool IsChineseName(const std::string& utf8) {
    static const char* const kNames[] = {"宋体", "新宋体", "黑体",    "仿宋",   "楷体",     "微软雅黑", "幼圆",
                                         "隶书", "SimSun", "NSimSun", "SimHei", "FangSong", "KaiTi"};
    for (const char* n : kNames) {
        if (utf8 == n) return true;
    }
    return false;
}

const char* MetricAlias(const std::string& utf8) {
    if (utf8 == "Arial" || utf8 == "Helvetica") return "Liberation Sans";
    if (utf8 == "Times New Roman") return "Liberation Serif";
    if (utf8 == "Courier New") return "Liberation Mono";
    return nullptr;
}

const char* LanguageOf(uint8_t charSet, const std::string& utf8) {
    switch (charSet) {
    case 134:
        return "zh-cn";
    case 136:
        return "zh-tw";
    case 128:
        return "ja";
    case 129:
        return "ko";
    default:
        break;
    }
    return IsChineseName(utf8) ? "zh-cn" : nullptr;
}

bool Locate(const FontRequest& request, Located& out) {
    static const bool fcReady = [] {
        if (FcInit() != FcTrue) return false;
        std::atexit(FcFini);  // fontconfig keeps its configuration until told to let go
        return true;
    }();
    if (!fcReady) return false;
    const std::string family = ToUtf8(FromAnsi(request.faceAnsi));
    const bool bold = request.weight >= 600;
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return false;
    auto addFamily = [pattern](const char* name) {
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name));
    };
    // The named face when it is installed, else a face of the same metrics or script.
    if (!family.empty()) addFamily(family.c_str());
    if (const char* alias = MetricAlias(family)) addFamily(alias);
    const char* lang = LanguageOf(request.charSet, family);
    if (lang != nullptr) {
        // Its embedded bitmaps draw small Chinese text crisply, as the system's song face does.
        if (std::string(lang) == "zh-cn") addFamily("WenQuanYi Zen Hei Sharp");
        FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(lang));
    }
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return false;
    FcChar8* file = nullptr;
    int index = 0;
    int weight = FC_WEIGHT_REGULAR;
    const bool found = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file != nullptr;
    if (found) {
        out.file = reinterpret_cast<const char*>(file);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) out.index = index;
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
        out.syntheticBold = bold && weight < FC_WEIGHT_DEMIBOLD;
    }
    FcPatternDestroy(match);
    return found;
}

std::shared_ptr<TTF_Font> OpenFile(const std::string& file, int index, int pointSize) {
    TTF_Font* font = TTF_OpenFontIndex(file.c_str(), pointSize, index);
    ++g_filesOpened;
    if (font == nullptr) return nullptr;
    return std::shared_ptr<TTF_Font>(font, [](TTF_Font* f) {
        if (TTF_WasInit() != 0) TTF_CloseFont(f);
    });
}

int32_t HeightOf(TTF_Font* font) { return TTF_FontAscent(font) - TTF_FontDescent(font); }

// The point size whose ascent + descent comes closest to `pixels` without passing it.
int PointSizeForLine(const Located& where, int32_t pixels) {
    static std::map<std::pair<std::string, int>, std::shared_ptr<TTF_Font>> probes;
    auto& probe = probes[{where.file, where.index}];
    if (probe == nullptr) probe = OpenFile(where.file, where.index, kProbeSize);
    if (probe == nullptr) return pixels;
    TTF_SetFontSize(probe.get(), kProbeSize);
    const int32_t probeHeight = std::max(1, HeightOf(probe.get()));
    int guess = std::max(1, static_cast<int>(pixels * kProbeSize / probeHeight));
    int best = 1;
    for (int size = std::max(1, guess - 3); size <= guess + 3; ++size) {
        if (TTF_SetFontSize(probe.get(), size) != 0) continue;
        if (HeightOf(probe.get()) <= pixels) best = size;
    }
    return best;
}

using TtfKey = std::tuple<std::string, int, int, int>;  // file, index, point size, style

std::shared_ptr<TTF_Font> OpenCached(const Located& where, int pointSize, int style) {
    static std::map<TtfKey, std::shared_ptr<TTF_Font>> fonts;
    const TtfKey key{where.file, where.index, pointSize, style};
    auto it = fonts.find(key);
    if (it != fonts.end()) return it->second;
    auto font = OpenFile(where.file, where.index, pointSize);
    if (font == nullptr) return nullptr;
    TTF_SetFontStyle(font.get(), style);
    TTF_SetFontHinting(font.get(), TTF_HINTING_NORMAL);
    fonts.emplace(key, font);
    return font;
}

using RequestKey = std::tuple<std::string, uint8_t, int32_t, bool, bool>;

std::shared_ptr<FontFace::Face> MakeFace(const FontRequest& request) {
    Located where;
    if (!EnsureTtf() || !Locate(request, where)) return nullptr;
    int32_t height = request.height == 0 ? -kDefaultEm : request.height;
    height = std::clamp(height, -kMaxPixels, kMaxPixels);
    const int pointSize = height < 0 ? -height : PointSizeForLine(where, height);
    int style = TTF_STYLE_NORMAL;
    if (where.syntheticBold) style |= TTF_STYLE_BOLD;
    if (request.underline) style |= TTF_STYLE_UNDERLINE;
    auto font = OpenCached(where, pointSize, style);
    if (font == nullptr) return nullptr;
    static uint64_t nextId = 1;
    auto face = std::make_shared<FontFace::Face>();
    face->id = nextId++;
    face->font = font;
    face->file = where.file;
    face->lineHeight = HeightOf(font.get());
    face->ascent = TTF_FontAscent(font.get());
    face->request = request;
    return face;
}

// The face that draws `c`: `face`, or its wide face for a character `face` lacks and the wide
// one has.
const FontFace::Face& FaceOf(FontFace::Face& face, char16_t c) {
    const auto lacks = [](const FontFace::Face& f, char16_t u) {
        return u >= 0x80 && TTF_GlyphIsProvided(f.font.get(), u) == 0;
    };
    if (!lacks(face, c)) return face;
    if (!face.wideLooked) {
        face.wideLooked = true;
        FontRequest wide = face.request;
        wide.faceAnsi.clear();
        wide.charSet = 134;
        face.wide = MakeFace(wide);
    }
    return face.wide != nullptr && !lacks(*face.wide, c) ? *face.wide : face;
}

// A part of a line drawn in one face.
struct Run {
    const FontFace::Face* face;
    std::u16string text;
};

// Whether `face` draws every character of `text` itself (a line of one face needs no cutting).
bool DrawsAll(FontFace::Face& face, const std::u16string& text) {
    return std::all_of(text.begin(), text.end(), [&](char16_t c) { return &FaceOf(face, c) == &face; });
}

// `text` cut where the face that draws it changes: a Latin line with Chinese in it keeps its
// own face for its letters and takes the wide face for the characters only that one has.
std::vector<Run> RunsOf(FontFace::Face& face, const std::u16string& text) {
    std::vector<Run> runs;
    for (const char16_t c : text) {
        const FontFace::Face* f = &FaceOf(face, c);
        if (runs.empty() || runs.back().face != f) runs.push_back(Run{f, std::u16string()});
        runs.back().text.push_back(c);
    }
    return runs;
}

// Rendered lines, most recently used first.
class LineCache {
public:
    SDL_Surface* Get(uint64_t faceId, uint32_t color, const std::string& utf8, TTF_Font* font) {
        std::string key = std::to_string(faceId) + '\x1f' + std::to_string(color) + '\x1f' + utf8;
        auto it = index_.find(key);
        if (it != index_.end()) {
            lines_.splice(lines_.begin(), lines_, it->second);
            return it->second->surface;
        }
        const SDL_Color c{static_cast<Uint8>(color & 0xFF), static_cast<Uint8>((color >> 8) & 0xFF),
                          static_cast<Uint8>((color >> 16) & 0xFF), 255};
        SDL_Surface* surface = TTF_RenderUTF8_Blended(font, utf8.c_str(), c);
        ++g_linesRendered;
        if (surface == nullptr) return nullptr;
        SDL_SetSurfaceBlendMode(surface, SDL_BLENDMODE_BLEND);
        lines_.push_front(Line{key, surface});
        index_.emplace(std::move(key), lines_.begin());
        while (lines_.size() > kLineCacheSize) {
            index_.erase(lines_.back().key);
            SDL_FreeSurface(lines_.back().surface);
            lines_.pop_back();
        }
        return surface;
    }

private:
    struct Line {
        std::string key;
        SDL_Surface* surface;
    };
    std::list<Line> lines_;
    std::unordered_map<std::string, std::list<Line>::iterator> index_;
};

LineCache& Lines() {
    static auto* cache = new LineCache();  // lives to the end of the process
    return *cache;
}

std::string Utf8Bounded(const std::u16string& text) {
    std::string utf8 = ToUtf8(text);
    if (utf8.size() > kMaxTextBytes) {
        size_t cut = kMaxTextBytes;
        while (cut > 0 && (static_cast<uint8_t>(utf8[cut]) & 0xC0) == 0x80) --cut;
        utf8.resize(cut);
    }
    return utf8;
}

// `text` up to the bound on what is ever drawn of a line.
std::u16string Bounded(const std::u16string& text) {
    return text.size() <= kMaxTextBytes / 3 ? text : FromUtf8(Utf8Bounded(text));
}

// The width of `text` in `face` alone, from its cache when measured lately.
int32_t WidthOf(const FontFace::Face& face, const std::u16string& text) {
    std::string utf8 = Utf8Bounded(text);
    auto& widths = face.widths;
    if (auto known = widths.find(utf8); known != widths.end()) return known->second;
    int w = 0;
    int h = 0;
    if (!utf8.empty() && TTF_SizeUTF8(face.font.get(), utf8.c_str(), &w, &h) != 0) w = 0;
    if (widths.size() >= kWidthCacheSize) widths.clear();
    widths.emplace(std::move(utf8), w);
    return w;
}

bool DrawLine(Surface& target, const FontFace::Face& face, int32_t x, int32_t y, const std::u16string& text,
              uint32_t colorBgr, const Rect* clip) {
    const std::string utf8 = Utf8Bounded(text);
    if (utf8.empty()) return true;
    SDL_Surface* line = Lines().Get(face.id, colorBgr & 0xFFFFFF, utf8, face.font.get());
    if (line == nullptr) return false;
    SDL_Rect where{x, y, line->w, line->h};
    if (clip == nullptr) return SDL_BlitSurface(line, nullptr, target.Sdl(), &where) == 0;
    SDL_Rect saved{};
    SDL_GetClipRect(target.Sdl(), &saved);
    const SDL_Rect limit{clip->left, clip->top, clip->Width(), clip->Height()};
    SDL_Rect inside{};
    // An empty intersection leaves nothing to draw.
    if (SDL_IntersectRect(&saved, &limit, &inside) == SDL_FALSE) return true;
    SDL_SetClipRect(target.Sdl(), &inside);
    const bool ok = SDL_BlitSurface(line, nullptr, target.Sdl(), &where) == 0;
    SDL_SetClipRect(target.Sdl(), &saved);
    return ok;
}

}  // namespace

FontFace::FontFace(std::shared_ptr<Face> face) : face_(std::move(face)) {}
FontFace::~FontFace() = default;

std::shared_ptr<FontFace> FontFace::Create(const FontRequest& request) {
    static std::map<RequestKey, std::shared_ptr<Face>> faces;
    const RequestKey key{request.faceAnsi, request.charSet, request.height, request.weight >= 600, request.underline};
    auto it = faces.find(key);
    if (it == faces.end()) {
        auto face = MakeFace(request);
        if (face == nullptr) return nullptr;
        it = faces.emplace(key, std::move(face)).first;
    }
    return std::shared_ptr<FontFace>(new FontFace(it->second));
}

Size FontFace::Measure(const std::u16string& text) const {
    if (DrawsAll(*face_, text)) return Size{WidthOf(*face_, text), face_->lineHeight};
    int32_t w = 0;
    for (const Run& run : RunsOf(*face_, Bounded(text))) w += WidthOf(*run.face, run.text);
    return Size{w, face_->lineHeight};
}

bool FontFace::Draw(Surface& target, int32_t x, int32_t y, const std::u16string& text, uint32_t colorBgr,
                    const Rect* clip) const {
    if (DrawsAll(*face_, text)) return DrawLine(target, *face_, x, y, text, colorBgr, clip);
    bool ok = true;
    for (const Run& run : RunsOf(*face_, Bounded(text))) {
        // The runs stand on one baseline.
        ok = DrawLine(target, *run.face, x, y + face_->ascent - run.face->ascent, run.text, colorBgr, clip) && ok;
        x += WidthOf(*run.face, run.text);
    }
    return ok;
}

int32_t FontFace::LineHeight() const { return face_->lineHeight; }
int32_t FontFace::Ascent() const { return face_->ascent; }
const std::string& FontFace::File() const { return face_->file; }

uint64_t FontFace::FilesOpened() { return g_filesOpened; }
uint64_t FontFace::LinesRendered() { return g_linesRendered; }

}  // namespace platform
