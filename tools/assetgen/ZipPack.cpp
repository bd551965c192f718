#include "ZipPack.h"

#include <zip.h>

#include <filesystem>
#include <stdexcept>

namespace assetgen {

void ZipPack::add(const std::string& entry, std::vector<unsigned char> bytes, bool compress) {
    entries_.push_back(Entry{entry, std::move(bytes), compress});
}

void ZipPack::write(const std::string& path) const {
    namespace fs = std::filesystem;
    const fs::path target(path);
    if (target.has_parent_path()) fs::create_directories(target.parent_path());
    const std::string temp = path + ".tmp";
    fs::remove(temp);
    int err = 0;
    zip_t* za = zip_open(temp.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    if (!za) throw std::runtime_error("cannot create " + temp);
    const time_t fixedTime = 1262347200;  // 2010-01-01 12:00 UTC
    for (const auto& e : entries_) {
        zip_source_t* src = zip_source_buffer(za, e.bytes.data(), e.bytes.size(), 0);
        if (!src) throw std::runtime_error("zip source");
        const zip_int64_t idx = zip_file_add(za, e.name.c_str(), src, ZIP_FL_ENC_UTF_8);
        if (idx < 0) {
            zip_source_free(src);
            throw std::runtime_error(std::string("zip add: ") + zip_strerror(za));
        }
        zip_set_file_compression(za, static_cast<zip_uint64_t>(idx), e.compress ? ZIP_CM_DEFLATE : ZIP_CM_STORE,
                                 e.compress ? 9 : 0);
        zip_file_set_mtime(za, static_cast<zip_uint64_t>(idx), fixedTime, 0);
    }
    if (zip_close(za) != 0) {
        const std::string msg = zip_strerror(za);
        zip_discard(za);
        throw std::runtime_error("zip write: " + msg);
    }
    fs::rename(temp, target);
}

}  // namespace assetgen
