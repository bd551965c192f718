#include <gtest/gtest.h>

#include <set>

#include "platform/Random.h"
#include "shell/KeyboardLayouts.h"
#include "wordgames/LetterPool.h"

namespace {

TEST(LetterPoolTest, TwentySixDrawsGiveEveryLetterOnceThenNothing) {
    platform::Random::Seed(7);
    ResetLetterPool();
    std::set<char16_t> seen;
    for (int i = 0; i < 26; ++i) {
        const std::u16string letter = DrawLetter(u"");
        ASSERT_EQ(letter.size(), 1u);
        EXPECT_GE(letter[0], u'A');
        EXPECT_LE(letter[0], u'Z');
        seen.insert(letter[0]);
    }
    EXPECT_EQ(seen.size(), 26u);
    EXPECT_EQ(LetterPoolCount(), 0);
    EXPECT_EQ(DrawLetter(u""), u"");
    EXPECT_EQ(DrawLetter(u"Q"), u"");
}

TEST(LetterPoolTest, AGiveBackDrawKeepsThePoolSizeAndPutsTheLetterInThePlaceOfTheDrawnOne) {
    platform::Random::Seed(11);
    ResetLetterPool();
    // Empty the pool down to one letter so the exchange is visible.
    for (int i = 0; i < 25; ++i) DrawLetter(u"");
    ASSERT_EQ(LetterPoolCount(), 1);
    const std::u16string last = DrawLetter(u"Q");
    EXPECT_EQ(last.size(), 1u);
    EXPECT_EQ(LetterPoolCount(), 1);
    EXPECT_EQ(DrawLetter(u"Q"), u"Q");  // Q now holds the only place
    EXPECT_EQ(DrawLetter(u""), u"Q");
    EXPECT_EQ(LetterPoolCount(), 0);
}

class FakeLayouts : public KeyboardLayouts {
public:
    explicit FakeLayouts(bool ime) : ime_(ime) {}
    std::string Current() override {
        Note("Current");
        return ime_ ? "E0010804" : "00000409";
    }
    bool IsInputMethod(const std::string& layout) override {
        Note("IsInputMethod " + layout);
        return ime_;
    }
    void Load(const std::string& id, unsigned flags) override { Note("Load " + id + " " + std::to_string(flags)); }
    std::vector<std::string> List(size_t max) override {
        Note("List " + std::to_string(max));
        return {"00000409", "E0010804"};
    }
    void Activate(const std::string& layout, unsigned flags) override {
        Note("Activate " + layout + " " + std::to_string(flags));
    }
    std::vector<std::string> calls;

private:
    void Note(const std::string& call) { calls.push_back(call); }
    bool ime_;
};

TEST(ForceEnglishKeyboardTest, SwitchesAwayFromAnInputMethodOnly) {
    auto ime = std::make_shared<FakeLayouts>(true);
    SetKeyboardLayouts(ime);
    ForceEnglishKeyboard();
    EXPECT_EQ(ime->calls, (std::vector<std::string>{"Current", "IsInputMethod E0010804", "Load 00000409 8", "List 25",
                                                    "Activate 00000409 0"}));

    auto plain = std::make_shared<FakeLayouts>(false);
    SetKeyboardLayouts(plain);
    ForceEnglishKeyboard();
    EXPECT_EQ(plain->calls, (std::vector<std::string>{"Current", "IsInputMethod 00000409"}));

    SetKeyboardLayouts(nullptr);  // the desktop's layouts again
    EXPECT_NO_THROW(ForceEnglishKeyboard());
}

}  // namespace
