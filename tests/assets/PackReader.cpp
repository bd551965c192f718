#include "PackReader.h"

#include <png.h>
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
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()) == 0) return false;
    out.hasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) == 0) return false;
    out.w = static_cast<int>(image.width);
    out.h = static_cast<int>(image.height);
    out.px.resize(static_cast<size_t>(out.w) * out.h);
    for (size_t i = 0; i < out.px.size(); ++i) {
        const unsigned r = rgb[i * 3], g = rgb[i * 3 + 1], b = rgb[i * 3 + 2];
        out.px[i] = static_cast<unsigned short>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
    }
    return true;
}
