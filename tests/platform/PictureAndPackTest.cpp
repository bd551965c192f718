#include <SDL.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <png.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "platform/PictureLoader.h"
#include "platform/ResourcePack.h"
#include "tests/support/TempDir.h"
#include "tests/support/ZipWriter.h"

using platform::ResourcePack;
using platform::Surface;

namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// PNG bytes of a 3x1 picture: the hit-test green, near black, white.
std::vector<uint8_t> SmallPng(const std::string& folder) {
    SDL_Surface* rgb = SDL_CreateRGBSurfaceWithFormat(0, 3, 1, 24, SDL_PIXELFORMAT_RGB24);
    auto* p = static_cast<uint8_t*>(rgb->pixels);
    const uint8_t colours[9] = {0, 124, 64, 7, 3, 7, 255, 255, 255};
    std::copy(colours, colours + 9, p);
    auto surface = Surface::Adopt(rgb);
    // Written through the loader's own writer: RGB565 widened to 24 bits keeps the raw values.
    EXPECT_TRUE(platform::SavePng(*surface, folder + "small.png"));
    return ReadFile(folder + "small.png");
}

TEST(PictureLoaderTest, PngBecomesRgb565WithoutKey) {
    testsupport::TempDir dir;
    const auto bytes = SmallPng(dir.Path());
    auto picture = platform::LoadPng(bytes);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Width(), 3);
    EXPECT_EQ(picture->Height(), 1);
    EXPECT_EQ(picture->ReadPixel(0, 0), 1000);
    EXPECT_EQ(picture->ReadPixel(1, 0), 0);
    EXPECT_EQ(picture->ReadPixel(2, 0), 0xFFFF);
    EXPECT_FALSE(picture->HasColorKey());
}

// The pixels libpng's own simplified reader gives for PNG bytes, as RGB565.
std::shared_ptr<Surface> ReferenceDecode(const std::vector<uint8_t>& bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()) == 0) return nullptr;
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) == 0) return nullptr;
    auto out = Surface::Create(static_cast<int32_t>(image.width), static_cast<int32_t>(image.height));
    for (uint32_t y = 0; y < image.height; ++y) {
        for (uint32_t x = 0; x < image.width; ++x) {
            const uint8_t* p = &rgb[(size_t{y} * image.width + x) * 3];
            out->Pixels()[y * static_cast<uint32_t>(out->PitchPixels()) + x] =
                static_cast<uint16_t>(((p[0] >> 3) << 11) | ((p[1] >> 2) << 5) | (p[2] >> 3));
        }
    }
    return out;
}

// `pixels` (one byte a pixel, or three) written by libpng in `format`: a grey or a palette
// picture, which the loader cannot decode row by row.
std::vector<uint8_t> EncodeAs(uint32_t format, const std::vector<uint8_t>& pixels, uint32_t w, uint32_t h,
                              const std::vector<uint8_t>& palette = {}) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = w;
    image.height = h;
    image.format = format;
    image.colormap_entries = static_cast<uint32_t>(palette.size() / 3);
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, palette.empty() ? nullptr : palette.data());
    std::vector<uint8_t> out(size);
    if (png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0,
                                  palette.empty() ? nullptr : palette.data()) == 0) {
        return {};
    }
    out.resize(size);
    return out;
}

bool SamePixels(const Surface& a, const Surface& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int32_t y = 0; y < a.Height(); ++y) {
        for (int32_t x = 0; x < a.Width(); ++x) {
            if (a.ReadPixel(x, y) != b.ReadPixel(x, y)) return false;
        }
    }
    return true;
}

TEST(PictureLoaderTest, PicturesDecodeToTheReferenceDecodersPixels) {
    testsupport::TempDir dir;
    SDL_Surface* rgb = SDL_CreateRGBSurfaceWithFormat(0, 97, 31, 24, SDL_PIXELFORMAT_RGB24);
    ASSERT_NE(rgb, nullptr);
    std::mt19937 random(3);
    for (int y = 0; y < rgb->h; ++y) {
        auto* row = static_cast<uint8_t*>(rgb->pixels) + static_cast<size_t>(y) * rgb->pitch;
        for (int x = 0; x < rgb->w * 3; ++x) row[x] = static_cast<uint8_t>(random());
    }
    auto noise = Surface::Adopt(rgb);
    ASSERT_TRUE(platform::SavePng(*noise, dir.Path() + "noise.png"));
    std::vector<std::vector<uint8_t>> pictures{ReadFile(dir.Path() + "noise.png")};
    // The pack's largest pictures, where it is built.
    if (auto pack = platform::ResourcePack::Open(std::string(GLYPHOR_DIST_DIR) + "/Game/GameRes.DLL")) {
        for (const char* name : {"POLICE_BACKGROUND", "POLICE_MAINMENU_BG", "SPACE_MAINMENU_BG", "POLICE_THIEF"}) {
            std::vector<uint8_t> bytes;
            if (pack->Read(std::string(name) + ".png", bytes)) pictures.push_back(bytes);
        }
    }
    // Grey and palette pictures take the loader's other way.
    std::vector<uint8_t> grey(37 * 11);
    std::vector<uint8_t> indices(37 * 11);
    std::vector<uint8_t> palette(16 * 3);
    for (auto& v : grey) v = static_cast<uint8_t>(random());
    for (auto& v : indices) v = static_cast<uint8_t>(random() % 16);
    for (auto& v : palette) v = static_cast<uint8_t>(random());
    pictures.push_back(EncodeAs(PNG_FORMAT_GRAY, grey, 37, 11));
    pictures.push_back(EncodeAs(PNG_FORMAT_RGB_COLORMAP, indices, 37, 11, palette));
    for (const auto& bytes : pictures) {
        const auto direct = platform::LoadPng(bytes);
        const auto general = ReferenceDecode(bytes);
        ASSERT_TRUE(direct && general);
        EXPECT_TRUE(SamePixels(*direct, *general)) << direct->Width() << "x" << direct->Height();
    }
    // Damaged picture data inside whole chunks stops the decoder midway: no picture at all.
    std::vector<uint8_t> damaged = pictures.front();
    const auto idat = std::search(damaged.begin(), damaged.end(), std::begin("IDAT"), std::end("IDAT") - 1);
    ASSERT_NE(idat, damaged.end());
    for (auto at = idat + 6; at < damaged.end() - 20; ++at) *at ^= 0x5A;
    EXPECT_EQ(platform::LoadPng(damaged), nullptr);
}

TEST(PictureLoaderTest, RefusesDamagedOrOversizedPictures) {
    testsupport::TempDir dir;
    auto bytes = SmallPng(dir.Path());
    EXPECT_EQ(platform::LoadPng({}), nullptr);
    EXPECT_EQ(platform::LoadPng(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 40)), nullptr);
    auto garbage = bytes;
    for (size_t i = 33; i < garbage.size(); ++i) garbage[i] = static_cast<uint8_t>(i * 7);
    EXPECT_EQ(platform::LoadPng(garbage), nullptr);
    auto huge = bytes;
    huge[16] = 0x7F;  // width 0x7F000003: refused before decoding
    EXPECT_EQ(platform::LoadPng(huge), nullptr);
    std::vector<uint8_t> notPng(100, 'x');
    EXPECT_EQ(platform::LoadPng(notPng), nullptr);
    // A chunk claiming a gigabyte before the end chunk: refused at once, not skipped by reading
    // a gigabyte past the end.
    auto claims = bytes;
    const uint8_t chunk[8] = {0x45, 0, 0, 0x49, 'b', 'K', 'G', 'D'};
    claims.insert(claims.end() - 12, chunk, chunk + 8);
    EXPECT_EQ(platform::LoadPng(claims), nullptr);
    EXPECT_NE(platform::LoadPng(bytes), nullptr);
}

TEST(ResourcePackTest, ReadsNamedEntriesOfAZipPack) {
    testsupport::TempDir dir;
    testsupport::ZipWriter zip;
    zip.Add("POLICE_START.png", SmallPng(dir.Path()));
    zip.Add("BTN_CLICK.wav", std::string("RIFF...."));
    ASSERT_TRUE(zip.Write(dir.Path() + "GameRes.DLL"));

    auto pack = ResourcePack::Open(dir.Path() + "GameRes.DLL");
    ASSERT_NE(pack, nullptr);
    EXPECT_TRUE(pack->Contains("POLICE_START.png"));
    EXPECT_FALSE(pack->Contains("POLICE_STOP.png"));
    std::vector<uint8_t> data;
    ASSERT_TRUE(pack->Read("BTN_CLICK.wav", data));
    EXPECT_EQ(std::string(data.begin(), data.end()), "RIFF....");
    ASSERT_TRUE(pack->Read("POLICE_START.png", data));
    EXPECT_NE(platform::LoadPng(data), nullptr);
    EXPECT_FALSE(pack->Read("MISSING.png", data));
    EXPECT_TRUE(data.empty());
    // Names are plain file names; nothing outside the pack can be reached.
    EXPECT_FALSE(pack->Read("../GameRes.DLL", data));
    EXPECT_FALSE(pack->Read("/etc/passwd", data));
    EXPECT_FALSE(pack->Read("", data));

    // Two packs over the same file share the mount; closing one keeps the other usable.
    auto second = ResourcePack::Open(dir.Path() + "GameRes.DLL");
    ASSERT_NE(second, nullptr);
    second.reset();
    EXPECT_TRUE(pack->Read("BTN_CLICK.wav", data));

    // With every descriptor taken (a program at its limit), an open pack still reads.
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
    const rlimit lowered{std::min<rlim_t>(limit.rlim_cur, 256), limit.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &lowered), 0);
    std::vector<int> taken;
    for (int fd; (fd = open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;) taken.push_back(fd);
    const bool readAtLimit = pack->Read("POLICE_START.png", data);
    for (int fd : taken) close(fd);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &limit), 0);
    EXPECT_TRUE(readAtLimit);

    // A new pack renamed over the file, as a package upgrade does while the game runs: the open
    // pack reads on from the file it was opened on; the next opening reads the new one.
    testsupport::ZipWriter upgrade;
    upgrade.Add("AAA_FIRST.bin", std::string(70000, 'x'));
    upgrade.Add("BTN_CLICK.wav", std::string("RIFF-new"));
    ASSERT_TRUE(upgrade.Write(dir.Path() + "GameRes.DLL.new"));
    ASSERT_EQ(std::rename((dir.Path() + "GameRes.DLL.new").c_str(), (dir.Path() + "GameRes.DLL").c_str()), 0);
    ASSERT_TRUE(pack->Read("BTN_CLICK.wav", data));
    EXPECT_EQ(std::string(data.begin(), data.end()), "RIFF....");
    ASSERT_TRUE(pack->Read("POLICE_START.png", data));
    EXPECT_NE(platform::LoadPng(data), nullptr);
    pack.reset();
    pack = ResourcePack::Open(dir.Path() + "GameRes.DLL");
    ASSERT_NE(pack, nullptr);
    ASSERT_TRUE(pack->Read("BTN_CLICK.wav", data));
    EXPECT_EQ(std::string(data.begin(), data.end()), "RIFF-new");
}

TEST(ResourcePackTest, MissingFoldersAndDamagedFilesGiveNoPack) {
    testsupport::TempDir dir;
    EXPECT_EQ(ResourcePack::Open(dir.Path() + "GameRes.DLL"), nullptr);
    EXPECT_EQ(ResourcePack::Open(dir.Path()), nullptr);  // a folder is not a pack
    std::ofstream(dir.Path() + "junk.DLL") << "this is not an archive";
    EXPECT_EQ(ResourcePack::Open(dir.Path() + "junk.DLL"), nullptr);
}

}  // namespace
