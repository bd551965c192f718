#pragma once
// A private copy of the staged program (its own settings and high-score files, the shared
// packs and texts linked in) played through scripts, with its snapshots read back.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/PictureLoader.h"
#include "platform/Surface.h"
#include "tests/support/PackPictures.h"
#include "tests/support/ScriptedRun.h"
#include "tests/support/TempDir.h"

namespace testsupport {

class PlayedProgram {
public:
    PlayedProgram() : temp_("glyphor-played") {
        namespace fs = std::filesystem;
        const std::string dist = GLYPHOR_DIST_DIR;
        dir_ = temp_.Path();
        fs::create_directories(dir_ / "Game");
        fs::copy_file(dist + "/glyphor_police", dir_ / "glyphor_police");
        for (const char* pack : {"Game/GameRes.DLL", "Game/GameSnd.DLL"})
            fs::create_symlink(dist + "/" + pack, dir_ / pack);
        fs::create_symlink(dist + "/Data", dir_ / "Data");
    }

    // Plays `script`; returns the exit status and keeps the output.
    int Play(const std::string& script, const std::string& args = {}, int seed = 7) {
        const auto run = PlayScript(dir_ / "glyphor_police", dir_, script, args, seed);
        output_ = run.output;
        return run.status;
    }

    std::string Shot(const std::string& name) const { return (dir_ / name).string(); }
    platform::SurfacePtr LoadShot(const std::string& name) const {
        std::ifstream in(Shot(name), std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        auto image = bytes.empty() ? nullptr : platform::LoadPng(bytes);
        if (!image) ADD_FAILURE() << "no snapshot " << name << "\n" << output_;
        return image;
    }
    // The share of frame `frame` of `picture` (a strip of `frames`) that the snapshot shows at
    // (x, y); black, the transparent colour, counts as shown.
    double Covered(const std::string& shot, const std::string& picture, int frames, int32_t x, int32_t y,
                   int frame = 0) const {
        const auto image = LoadShot(shot);
        const auto strip = PackPicture(picture);
        if (!image || !strip) return 0;
        const int32_t w = strip->Width() / frames;
        int64_t same = 0;
        for (int32_t py = 0; py < strip->Height(); ++py) {
            for (int32_t px = 0; px < w; ++px) {
                const uint16_t p = strip->ReadPixel(frame * w + px, py);
                same += p == 0 || image->ReadPixel(x + px, y + py) == p ? 1 : 0;
            }
        }
        return static_cast<double>(same) / (static_cast<double>(w) * strip->Height());
    }
    // Pixels of colour `bgr` (0xBBGGRR) in a rectangle of the snapshot.
    int Count(const std::string& shot, const platform::Rect& r, uint32_t bgr) const {
        const auto image = LoadShot(shot);
        if (!image) return 0;
        const uint16_t pixel = platform::Surface::RawFromBgr(bgr);
        int n = 0;
        for (int32_t y = r.top; y < r.bottom; ++y) {
            for (int32_t x = r.left; x < r.right; ++x) n += image->ReadPixel(x, y) == pixel ? 1 : 0;
        }
        return n;
    }
    const std::string& Output() const { return output_; }
    const std::filesystem::path& Dir() const { return dir_; }

private:
    TempDir temp_;
    std::filesystem::path dir_;
    std::string output_;
};

}  // namespace testsupport
