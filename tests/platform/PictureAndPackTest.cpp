#include <SDL.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

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
}

TEST(ResourcePackTest, MissingFoldersAndDamagedFilesGiveNoPack) {
    testsupport::TempDir dir;
    EXPECT_EQ(ResourcePack::Open(dir.Path() + "GameRes.DLL"), nullptr);
    EXPECT_EQ(ResourcePack::Open(dir.Path()), nullptr);  // a folder is not a pack
    std::ofstream(dir.Path() + "junk.DLL") << "this is not an archive";
    EXPECT_EQ(ResourcePack::Open(dir.Path() + "junk.DLL"), nullptr);
}

}  // namespace
