#include "PackReader.h"

#include <SDL.h>
#include <SDL_image.h>
#include <zip.h>

PackReader::PackReader(const std::string& path) {
    int err = 0;
    zip_ = zip_open(path.c_str(), ZIP_RDONLY, &err);
}

PackReader::~PackReader() {
    if (zip_) zip_discard(static_cast<zip_t*>(zip_));
}

std::vector<std::string> PackReader::names() const {
    std::vector<std::string> out;
    if (!zip_) return out;
    auto* z = static_cast<zip_t*>(zip_);
    const zip_int64_t n = zip_get_num_entries(z, 0);
    for (zip_int64_t i = 0; i < n; ++i) out.emplace_back(zip_get_name(z, static_cast<zip_uint64_t>(i), 0));
    return out;
}

std::vector<unsigned char> PackReader::read(const std::string& entry) const {
    std::vector<unsigned char> out;
    if (!zip_) return out;
    auto* z = static_cast<zip_t*>(zip_);
    zip_stat_t st;
    if (zip_stat(z, entry.c_str(), 0, &st) != 0) return out;
    zip_file_t* f = zip_fopen(z, entry.c_str(), 0);
    if (!f) return out;
    out.resize(static_cast<size_t>(st.size));
    const zip_int64_t got = zip_fread(f, out.data(), out.size());
    zip_fclose(f);
    if (got != static_cast<zip_int64_t>(out.size())) out.clear();
    return out;
}

std::string distPath(const std::string& relative) { return std::string(GLYPHOR_DIST_DIR) + "/" + relative; }

bool loadPicture(const PackReader& pack, const std::string& name, Picture565& out) {
    const std::vector<unsigned char> bytes = pack.read(name + ".png");
    if (bytes.empty()) return false;
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    SDL_Surface* s = IMG_LoadPNG_RW(rw);
    SDL_RWclose(rw);
    if (!s) return false;
    out.hasAlpha = s->format->Amask != 0;
    SDL_Surface* c = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_RGB24, 0);
    SDL_FreeSurface(s);
    if (!c) return false;
    out.w = c->w;
    out.h = c->h;
    out.px.resize(static_cast<size_t>(c->w) * c->h);
    SDL_LockSurface(c);
    for (int y = 0; y < c->h; ++y) {
        const auto* row = static_cast<const unsigned char*>(c->pixels) + y * c->pitch;
        for (int x = 0; x < c->w; ++x) {
            const unsigned r = row[x * 3], g = row[x * 3 + 1], b = row[x * 3 + 2];
            out.px[static_cast<size_t>(y) * c->w + x] =
                static_cast<unsigned short>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
        }
    }
    SDL_UnlockSurface(c);
    SDL_FreeSurface(c);
    return true;
}
