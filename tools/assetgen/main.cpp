// assetgen: draws the game's pictures, synthesises its sounds and writes the
// resource packs, the course dictionaries and the contact sheet.
//
//   assetgen --pictures OUT.DLL
//   assetgen --sounds OUT.DLL
//   assetgen --dictionaries SCOWL_DIR OUT_DIR
//   assetgen --sheet FILE.png [--match TEXT] [--zoom N]
//   assetgen --icons OUT_DIR        (the desktop icon, OUT_DIR/NxN/apps/glyphor.png)
#include "ContactSheet.h"
#include "Dictionaries.h"
#include "Sounds.h"
#include "Themes.h"
#include "Wav.h"
#include "ZipPack.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: assetgen --pictures OUT | --sounds OUT | --dictionaries SCOWL_DIR OUT_DIR"
                 " | --sheet FILE [--match TEXT] [--zoom N] | --icons OUT_DIR\n");
    return 2;
}

void writePictures(const std::string& out) {
    const assetgen::PictureSet set = assetgen::drawAllPictures();
    assetgen::ZipPack pack;
    for (const auto& p : set.pictures()) pack.add(p.name + ".png", assetgen::encodePng(p.image.get()), false);
    pack.write(out);
    std::printf("assetgen: %zu pictures -> %s\n", set.pictures().size(), out.c_str());
}

void writeSounds(const std::string& out) {
    assetgen::ZipPack pack;
    const std::vector<assetgen::Sound> sounds = assetgen::makeAllSounds();
    for (const auto& s : sounds) pack.add(s.name + ".wav", assetgen::encodeWav(s.samples), true);
    pack.write(out);
    std::printf("assetgen: %zu sounds -> %s\n", sounds.size(), out.c_str());
}

// The program icon for the desktop's launchers, with its transparency, at the sizes of the icon theme.
void writeIcons(const std::string& outDir) {
    for (int size : {16, 32, 48, 64, 128, 256}) {
        assetgen::Canvas c(size, size);
        cairo_scale(c.cr(), size / 64.0, size / 64.0);
        assetgen::drawIcon(c.cr());
        const std::string dir = outDir + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        std::filesystem::create_directories(dir);
        const std::vector<unsigned char> png = assetgen::encodePng(c.surface());
        std::ofstream(dir + "/glyphor.png", std::ios::binary)
            .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    }
    std::printf("assetgen: icons -> %s\n", outDir.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    try {
        std::vector<std::string> args(argv + 1, argv + argc);
        if (args.size() == 2 && args[0] == "--pictures") {
            writePictures(args[1]);
        } else if (args.size() == 2 && args[0] == "--sounds") {
            writeSounds(args[1]);
        } else if (args.size() == 3 && args[0] == "--dictionaries") {
            assetgen::writeDictionaries(args[1], args[2]);
        } else if (args.size() == 2 && args[0] == "--icons") {
            writeIcons(args[1]);
        } else if (args.size() >= 2 && args.size() % 2 == 0 && args[0] == "--sheet") {
            std::string match;
            double zoom = 1;
            for (size_t i = 2; i + 1 < args.size(); i += 2) {
                if (args[i] == "--match")
                    match = args[i + 1];
                else if (args[i] == "--zoom")
                    zoom = std::stod(args[i + 1]);
                else
                    return usage();
            }
            assetgen::writeContactSheet(assetgen::drawAllPictures(), args[1], match, zoom);
        } else {
            return usage();
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
