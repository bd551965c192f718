// The game's own message box, played through the real program: over the main menu, and before
// any screen when the start-up fails. Its text must be the game's Chinese face, pixel for pixel
// as FontFace draws it. The snapshots stay in <build>/widgets-snapshots for a look.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/FontFace.h"
#include "platform/MessageBoxPicture.h"
#include "platform/PictureLoader.h"
#include "platform/Surface.h"
#include "tests/support/PackPictures.h"
#include "tests/support/ScriptedRun.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;
using platform::MessageBoxPicture;

namespace {

const std::string kDist = GLYPHOR_DIST_DIR;
constexpr uint32_t kButtonFace = 0x00E0E0E0;  // the OK button at rest

using testsupport::LoadPngFile;

// `text` as FontFace draws it in the box's face and colour, on `background`.
platform::SurfacePtr Drawn(const std::u16string& text, uint32_t background) {
    const auto font = platform::FontFace::Create(MessageBoxPicture::TextFont());
    if (!font) return nullptr;
    const platform::Size size = font->Measure(text);
    auto surface = platform::Surface::Create(size.cx, size.cy);
    if (!surface) return nullptr;
    surface->Fill(platform::Rect{}, platform::Surface::RawFromBgr(background));
    font->Draw(*surface, 0, 0, text, MessageBoxPicture::kTextColor);
    return surface;
}

struct Spot {
    int32_t x = 0;
    int32_t y = 0;
};

// Where every pixel of `needle` appears unchanged in `shot`.
std::optional<Spot> Find(const platform::Surface& shot, const platform::Surface& needle) {
    for (int32_t y = 0; y + needle.Height() <= shot.Height(); ++y) {
        for (int32_t x = 0; x + needle.Width() <= shot.Width(); ++x) {
            bool same = true;
            for (int32_t ny = 0; ny < needle.Height() && same; ++ny) {
                for (int32_t nx = 0; nx < needle.Width() && same; ++nx) {
                    same = shot.ReadPixel(x + nx, y + ny) == needle.ReadPixel(nx, ny);
                }
            }
            if (same) return Spot{x, y};
        }
    }
    return std::nullopt;
}

fs::path SnapshotFolder() {
    const fs::path dir = fs::path(kDist).parent_path() / "widgets-snapshots";
    fs::create_directories(dir);
    return dir;
}

}  // namespace

// The box over the main menu: the Chinese text in the game's face, the menu around it; the OK
// button lights up under the pointer, sinks while pressed, and a click on it closes the box.
TEST(MessageBoxSnapshots, AChineseMessageOverTheMenuIsReadableAndClosesWithAClickOnOk) {
    const std::u16string text = u"设置无法保存：磁盘已满";
    const auto words = Drawn(text, MessageBoxPicture::kFaceColor);
    const auto ok = Drawn(u"确定", kButtonFace);
    ASSERT_TRUE(words && ok) << "no Chinese face found through fontconfig";
    const fs::path dir = SnapshotFolder();
    const std::string menu = (dir / "msgbox-menu.png").string();
    const std::string shown = (dir / "msgbox-over-menu.png").string();
    const testsupport::TempDir temp("glyphor-msgbox-shots");

    auto run = testsupport::PlayScript(kDist + "/glyphor_police", temp.Path(),
                                       "boxes\nframes 3\nsnapshot " + menu + "\nopen msgbox 设置无法保存：磁盘已满\n" +
                                           "frames 2\nsnapshot " + shown + "\nkey Enter\nframes 2\n",
                                       "--menu");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("[打字游戏] 设置无法保存：磁盘已满\n"), std::string::npos) << run.output;
    const auto before = LoadPngFile(menu);
    const auto box = LoadPngFile(shown);
    ASSERT_TRUE(before && box);
    ASSERT_EQ(box->Width(), 800);
    ASSERT_EQ(box->Height(), 600);
    const auto at = Find(*box, *words);
    ASSERT_TRUE(at) << "the text is not drawn as FontFace draws it";
    const auto button = Find(*box, *ok);
    ASSERT_TRUE(button) << "no OK button";
    EXPECT_GT(button->y, at->y);
    for (const Spot corner : {Spot{0, 0}, Spot{799, 0}, Spot{0, 599}, Spot{799, 599}}) {
        EXPECT_EQ(box->ReadPixel(corner.x, corner.y), before->ReadPixel(corner.x, corner.y)) << "the menu is covered";
    }

    // The second run points at the button, presses it and lets go on it.
    const std::string point = std::to_string(button->x + ok->Width() / 2) + " " + std::to_string(button->y + 4);
    const std::string hover = (dir / "msgbox-hover.png").string();
    const std::string pressed = (dir / "msgbox-pressed.png").string();
    const std::string closed = (dir / "msgbox-closed.png").string();
    run = testsupport::PlayScript(kDist + "/glyphor_police", temp.Path(),
                                  "boxes\nframes 3\nopen msgbox 设置无法保存：磁盘已满\nframes 1\nmove " + point +
                                      "\nframes 1\nsnapshot " + hover + "\ndown " + point + "\nframes 1\nsnapshot " +
                                      pressed + "\nup " + point + "\nframes 2\nsnapshot " + closed + "\n",
                                  "--menu");
    ASSERT_EQ(run.status, 0) << run.output;
    const auto lit = LoadPngFile(hover);
    const auto down = LoadPngFile(pressed);
    const auto gone = LoadPngFile(closed);
    ASSERT_TRUE(lit && down && gone);
    EXPECT_TRUE(Find(*lit, *words)) << "the box closed too early";
    EXPECT_NE(lit->ReadPixel(button->x - 4, button->y + 2), box->ReadPixel(button->x - 4, button->y + 2))
        << "the button does not light up under the pointer";
    EXPECT_NE(down->ReadPixel(button->x - 4, button->y + 2), lit->ReadPixel(button->x - 4, button->y + 2))
        << "the button does not sink while pressed";
    EXPECT_FALSE(Find(*gone, *words)) << "a click on OK did not close the box";
}

// A start-up that fails before the game's window shows anything (the picture pack is missing)
// shows the box in a window of its own, then ends with status 1.
TEST(MessageBoxSnapshots, AStartUpFailureShowsTheBoxBeforeAnyScreen) {
    const testsupport::TempDir temp("glyphor-msgbox-start");
    const fs::path folder = fs::path(temp.Path()) / "program";
    fs::create_directories(folder / "Game");
    fs::copy_file(kDist + "/glyphor_police", folder / "glyphor_police");
    fs::copy_file(kDist + "/Game/GameSnd.DLL", folder / "Game/GameSnd.DLL");
    const std::string shot = (SnapshotFolder() / "msgbox-start-up.png").string();

    const auto run =
        testsupport::PlayScript(folder / "glyphor_police", temp.Path(), "boxes\nsnapshot " + shot + "\nkey Enter\n");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("无法打开资源库" + (folder / "Game/GameRes.DLL").string()), std::string::npos)
        << run.output;
    const auto box = LoadPngFile(shot);
    ASSERT_TRUE(box) << run.output;
    // The window is the box's own, not the game's 800x600 screen.
    EXPECT_LT(box->Width(), 800);
    EXPECT_LT(box->Height(), 600);
    const auto words = Drawn(u"无法打开资源库", MessageBoxPicture::kFaceColor);
    ASSERT_TRUE(words);
    EXPECT_TRUE(Find(*box, *words)) << "the text is not drawn as FontFace draws it";
}

// Lines fit the box; Chinese breaks between any two characters, a Latin word goes whole to the
// next line, and no character is lost or added.
TEST(MessageBoxLayout, TextIsWrappedToTheBoxWithoutLosingACharacter) {
    std::u16string chinese;
    for (int i = 0; i < 6; ++i) chinese += u"请确认声音设备或声音服务可用。";
    const std::u16string latin = u"The quick brown fox jumps over the lazy dog again and again and again.";
    const auto picture =
        MessageBoxPicture::Create(chinese + u"\r\n" + latin, u"打字游戏", platform::MessageIcon::Information);
    ASSERT_TRUE(picture);
    const auto font = platform::FontFace::Create(MessageBoxPicture::TextFont());
    ASSERT_TRUE(font);
    std::u16string first;
    std::u16string second;
    bool inLatin = false;
    for (const std::u16string& line : picture->Lines()) {
        // The icon and the margins take 80 pixels of the box's width.
        EXPECT_LE(font->Measure(line).cx, picture->BoxSize().cx - 80) << platform::ToUtf8(line);
        inLatin = inLatin || (!line.empty() && line[0] < 0x80);
        if (!inLatin) {
            first += line;
            continue;
        }
        EXPECT_NE(line.back(), u' ');
        if (!second.empty()) second += u' ';
        second += line;
    }
    EXPECT_GT(picture->Lines().size(), 3u);
    EXPECT_EQ(first, chinese);
    EXPECT_EQ(second, latin);
}
