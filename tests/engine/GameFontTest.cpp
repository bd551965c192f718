#include "engine/GameFont.h"

#include <gtest/gtest.h>

#include "engine/GraphicEngine.h"
#include "platform/FontFace.h"

namespace {

TEST(GameFontTest, SettingTheHeightTwiceCreatesOneHandleWithTheLastHeight) {
    GameFont font;
    font.SetFaceName(u"宋体");
    font.SetCharSet(134);
    font.SetHeight(-12);
    font.SetHeight(-14);
    auto handle = font.GetHandle();
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(font.HandlesCreated(), 1);
    EXPECT_EQ(font.GetRecord().height, -14);
    EXPECT_EQ(font.GetHandle(), handle);  // unchanged: the same handle
    EXPECT_EQ(font.HandlesCreated(), 1);
}

TEST(GameFontTest, ChangingTheFontAfterDrawingGivesANewHandleAtTheNextBeginText) {
    GraphicEngine engine(nullptr);
    ASSERT_TRUE(engine.Init(nullptr));
    auto font = std::make_shared<GameFont>();
    font->SetFaceName(u"Arial");
    font->SetBold(true);
    font->SetHeight(-19);
    engine.SetFont(font);

    engine.BeginText();
    engine.DrawText(0, 0, u"abc");
    const int32_t small = engine.MeasureText(u"abc").cx;
    engine.EndText();
    EXPECT_EQ(font->HandlesCreated(), 1);
    std::weak_ptr<platform::FontFace> old = font->GetHandle();

    font->SetHeight(-38);
    EXPECT_EQ(font->HandlesCreated(), 1);  // nothing happens before text starts again
    engine.BeginText();
    EXPECT_EQ(font->HandlesCreated(), 2);
    EXPECT_GT(engine.MeasureText(u"abc").cx, small);
    engine.EndText();
    EXPECT_TRUE(old.expired());  // the old handle is gone
}

TEST(GameFontTest, FaceNamesAreAnsiBytesCutToTheField) {
    GameFont font;
    font.SetFaceName(u"宋体");
    EXPECT_STREQ(font.GetRecord().faceName.data(), "\xCB\xCE\xCC\xE5");
    font.SetFaceName(u"A very long face name that does not fit in the field");
    EXPECT_EQ(std::string(font.GetRecord().faceName.data()).size(), 31u);
    font.SetFaceName(u"Arial");
    EXPECT_STREQ(font.GetRecord().faceName.data(), "Arial");
}

}  // namespace
