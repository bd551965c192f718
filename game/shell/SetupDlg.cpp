#include "shell/SetupDlg.h"

#include <cstdio>
#include <string>
#include <vector>

#include "engine/GraphicEngine.h"
#include "engine/KeyedPicture.h"
#include "platform/Message.h"
#include "results/WeakKeys.h"
#include "shell/DialogFrame.h"
#include "shell/FrameLoop.h"
#include "shell/Globals.h"
#include "shell/KeyboardLayouts.h"
#include "shell/MessageDlg.h"
#include "shell/ModalLoop.h"
#include "shell/Settings.h"
#include "widgets/AniButton.h"
#include "widgets/CheckBox.h"
#include "widgets/DropDownList.h"
#include "widgets/MouseRouting.h"
#include "widgets/SlideBar.h"

using platform::Message;

namespace {

// Positions are relative to the dialog's top-left corner.
struct SliderLayout {
    int32_t top;
    int32_t minValue;
    int32_t maxValue;
    int field;
    int32_t valueY;
    int32_t defaultValue;
};

struct Label {
    const char16_t* text;
    int32_t x;
    int32_t y;
};

struct PageLayout {
    std::vector<SliderLayout> sliders;
    std::vector<Label> labels;
    bool courseList = false;
    bool bonusBox = false;
    bool weakKeyBox = false;  // "弱键练习", kept in a file of its own, not in the settings record
};

constexpr int32_t kSliderLeft = 220;
constexpr int32_t kSliderWidth = 180;
// Values stand clear of the knob at its right end (the track ends at 400, the knob is 11 wide).
constexpr int32_t kValueX = 414;
constexpr int32_t kDefaultCourse = 3;

const char16_t* const kCourses[] = {
    u"新版小学英语",          u"新版中学英语", u"新版高中英语", u"大学英语1~4级常用词汇",
    u"大学英语5~6级常用词汇", u"新编GMAT词汇", u"GRE词汇进阶",  u"托福单词",
};

const PageLayout& PageFor(int32_t page) {
    static const PageLayout kApple{
        {{85, 0, 9, kAppleLevel, 86, 3}, {135, 100, 900, kApplePass, 136, 100}, {185, 5, 50, kAppleFail, 186, 10}},
        {{u"游戏等级：", 147, 90},
         {u"过关苹果数量：", 120, 140},
         {u"失败苹果数量：", 120, 190},
         {u"弱键练习", 150, 218}},
        false,
        false,
        true,
    };
    static const PageLayout kFrog{
        {{150, 0, 9, kFrogLevel, 151, 0}},
        {{u"难度等级：", 150, 155}, {u"选择课程：", 150, 105}},
        true,
    };
    static const PageLayout kMole{
        {{85, 1, 30, kMoleTime, 86, 1}, {135, 0, 10, kMoleInterval, 136, 1}, {185, 1, 20, kMoleStay, 186, 6}},
        {{u"    游戏时间：", 120, 90},
         {u"鼹鼠出现间隔：", 120, 140},
         {u"    停留时间：", 120, 190},
         {u"弱键练习", 150, 218}},
        false,
        false,
        true,
    };
    static const PageLayout kSpace{
        {{70, 1, 15, kSpaceCount, 71, 3}, {120, 1, 10, kSpaceSpeed, 121, 3}},
        {{u"敌机数量：", 120, 75},
         {u"敌机速度：", 120, 125},
         {u"是否开启奖励模式", 150, 170},
         {u"开启奖励模式后，则会在游戏过程中不定期出现", 120, 190},
         {u"横飞单词，在其消失前敲完则可增加生命值。", 120, 210}},
        false,
        true,
    };
    static const PageLayout kNone{};
    switch (page) {
    case 1:
        return kApple;
    case 2:
        return kFrog;
    case 3:
        return kMole;
    case 4:
        return kSpace;
    default:
        return kNone;
    }
}

std::u16string Digits(int32_t value) {
    std::string text = std::to_string(value);
    return std::u16string(text.begin(), text.end());
}

}  // namespace

std::shared_ptr<SetupDlg> SetupDlg::Create() {
    auto dlg = std::shared_ptr<SetupDlg>(new SetupDlg());
    SetupDlg* self = dlg.get();
    dlg->BtnDefault = AniButton::Create([self] { self->BtnDefault_OnClick(); });
    dlg->BtnOk = AniButton::Create([self] { self->BtnOk_OnClick(); });
    dlg->BtnCancel = AniButton::Create([self] { self->BtnCancel_OnClick(); });
    dlg->confirm_ = MessageDlg::Create();
    return dlg;
}

// The controls load their pictures when they are made, so they are made on first use, once the
// picture pack is open.
void SetupDlg::EnsureControls() {
    for (auto& slider : sliders_) {
        if (!slider) slider = SlideBar::Create();
    }
    if (!courseList_) courseList_ = DropDownList::Create();
    if (!bonusBox_) bonusBox_ = CheckBox::Create();
    if (!weakKeyBox_) weakKeyBox_ = CheckBox::Create();
}

void SetupDlg::SetPictures(const std::string& background, const std::string& btnDefault, const std::string& btnOk,
                           const std::string& btnCancel) {
    background_ = KeyedPicture(g_Graphic.get(), background, false);
    BtnDefault->SetPicture(btnDefault, 3, false);
    BtnOk->SetPicture(btnOk, 3, false);
    BtnCancel->SetPicture(btnCancel, 3, false);
    bool made = sliders_[0] != nullptr;
    EnsureControls();
    if (made) {
        for (auto& slider : sliders_) slider->LoadPicture();
        courseList_->LoadPicture();
        bonusBox_->LoadPicture();
        weakKeyBox_->LoadPicture();
    }
    confirm_->SetPictures("MAIN_DLG_BG", "YES", "YES", "NO");
}

void SetupDlg::PreparePage() {
    const PageLayout& layout = PageFor(page_);
    for (size_t i = 0; i < layout.sliders.size(); ++i) {
        const SliderLayout& s = layout.sliders[i];
        SlideBar& slider = *sliders_[i];
        slider.Left = x_ + kSliderLeft;
        slider.Width = kSliderWidth;
        slider.Top = y_ + s.top;
        slider.MinValue = s.minValue;
        slider.MaxValue = s.maxValue;
        slider.Value = g_Settings.Field[static_cast<size_t>(s.field)];
    }
    if (layout.courseList) {
        DropDownList& list = *courseList_;
        list.Left = x_ + kSliderLeft;
        list.Top = y_ + 100;
        list.Width = kSliderWidth;
        list.Height = 20;
        list.DropDownHeight = 145;
        list.ClearItems();
        for (const char16_t* course : kCourses) list.AddItem(course);
        list.SetListIndex(g_Settings.Field[kFrogCourse]);
    }
    if (layout.bonusBox) {
        bonusBox_->Left = x_ + 120;
        bonusBox_->Top = y_ + 165;
        bonusBox_->SetValue(g_Settings.Field[kSpaceBonus] != 0);
    }
    if (layout.weakKeyBox) {
        weakKeyBox_->Left = x_ + 120;
        weakKeyBox_->Top = y_ + 213;
        weakKeyBox_->SetValue(results::WeakKeys::Enabled());
    }
}

bool SetupDlg::Show(int32_t page, int32_t x, int32_t y) {
    auto self = shared_from_this();
    x_ = x;
    y_ = y;
    BtnOk->Left = x + 185;
    BtnCancel->Left = x + 276;
    BtnDefault->Left = x + 368;
    BtnOk->Top = BtnCancel->Top = BtnDefault->Top = y + 266;
    changed_ = false;
    page_ = page;

    EnsureControls();
    PreparePage();
    if (g_Graphic) g_Graphic->SetFont(g_SongFont);
    ForceEnglishKeyboard();

    running_ = true;
    // Ending the program cancels what was not confirmed.
    if (RunModalLoop([this] { return running_; }, [this] { DrawFrame(); },
                     [this](const Message& msg) { return HandleMessage(msg); }))
        changed_ = false;
    courseList_->CloseList();
    // A drag still held when a key closed the dialog must not carry into the next Show, where
    // plain pointer moves would otherwise go on dragging the knob.
    for (auto& slider : sliders_) slider->MouseUp(kLeftButton, 0, 0);
    return changed_;
}

void SetupDlg::BtnDefault_OnClick() {
    const PageLayout& layout = PageFor(page_);
    for (size_t i = 0; i < layout.sliders.size(); ++i) sliders_[i]->Value = layout.sliders[i].defaultValue;
    if (layout.courseList) courseList_->SetListIndex(kDefaultCourse);
    if (layout.bonusBox) bonusBox_->SetValue(true);
    if (layout.weakKeyBox) weakKeyBox_->SetValue(false);
}

void SetupDlg::BtnCancel_OnClick() {
    changed_ = false;
    running_ = false;
}

void SetupDlg::BtnOk_OnClick() {
    auto self = shared_from_this();
    const PageLayout& layout = PageFor(page_);
    for (size_t i = 0; i < layout.sliders.size(); ++i) {
        int32_t& field = g_Settings.Field[static_cast<size_t>(layout.sliders[i].field)];
        if (sliders_[i]->Value != field) {
            field = sliders_[i]->Value;
            changed_ = true;
        }
    }
    if (layout.courseList && courseList_->ListIndex() != g_Settings.Field[kFrogCourse]) {
        g_Settings.Field[kFrogCourse] = courseList_->ListIndex();
        changed_ = true;
    }
    if (layout.bonusBox && bonusBox_->Value() != (g_Settings.Field[kSpaceBonus] != 0)) {
        g_Settings.Field[kSpaceBonus] = bonusBox_->Value() ? -1 : 0;
        changed_ = true;
    }
    if (layout.weakKeyBox && weakKeyBox_->Value() != results::WeakKeys::Enabled()) {
        std::string why;
        if (!results::WeakKeys::SetEnabled(weakKeyBox_->Value(), &why))
            TellSettingsSaveFailure(results::WeakKeys::OptionFile(), why);
        changed_ = true;
    }
    if (changed_) {
        SaveSettings(kSettingsFile);
        auto confirm = confirm_;
        if (confirm->Show(u"设置改变,立即生效吗?", 240, 212, false) == MessageDlg::kEnd) {
            changed_ = false;  // saved, but not to take effect now
        }
    }
    running_ = false;
}

bool SetupDlg::HandleMessage(const Message& msg) {
    switch (msg.message) {
    case platform::WM_KEYDOWN:
        if (msg.wParam == platform::VK_ESCAPE) BtnCancel_OnClick();
        if (msg.wParam == platform::VK_RETURN) BtnOk_OnClick();
        return true;
    case platform::WM_MOUSEMOVE:
        MouseMove(msg.X(), msg.Y());
        return true;
    case platform::WM_LBUTTONDOWN:
        MouseDown(msg.X(), msg.Y());
        return true;
    case platform::WM_LBUTTONUP:
        MouseUp(msg.X(), msg.Y());
        return true;
    default:
        return false;
    }
}

// An open course list covers what lies below it, so on the frog page it gets presses and
// releases first. The controls of other pages keep their last places and still get them.
MouseRouting::Table<AniButton, 3> SetupDlg::Buttons() const { return {BtnCancel, BtnOk, BtnDefault}; }

void SetupDlg::MouseDown(int32_t X, int32_t Y) {
    auto self = shared_from_this();
    if (MouseRouting::Down(kLeftButton, X, Y, CourseListShown())) return;
    MouseRouting::Down(kLeftButton, X, Y, Buttons());
    MouseRouting::Down(kLeftButton, X, Y, bonusBox_);
    if (PageFor(page_).weakKeyBox) MouseRouting::Down(kLeftButton, X, Y, weakKeyBox_);
    auto sliders = sliders_;
    for (auto& slider : sliders) MouseRouting::Down(kLeftButton, X, Y, slider);
}

void SetupDlg::MouseMove(int32_t X, int32_t Y) {
    auto self = shared_from_this();
    MouseRouting::Move(X, Y, Buttons());
    auto sliders = sliders_;
    for (auto& slider : sliders) MouseRouting::Move(X, Y, slider);
    MouseRouting::Move(X, Y, bonusBox_, CourseListShown());
    if (PageFor(page_).weakKeyBox) MouseRouting::Move(X, Y, weakKeyBox_);
}

void SetupDlg::MouseUp(int32_t X, int32_t Y) {
    auto self = shared_from_this();
    if (MouseRouting::Up(kLeftButton, X, Y, CourseListShown())) return;
    MouseRouting::Up(kLeftButton, X, Y, Buttons());
    auto sliders = sliders_;
    for (auto& slider : sliders) MouseRouting::Up(kLeftButton, X, Y, slider);
}

std::shared_ptr<DropDownList> SetupDlg::CourseListShown() const {
    return PageFor(page_).courseList ? courseList_ : nullptr;
}

void SetupDlg::DrawFrame() {
    DialogFrame::Draw(background_, x_, y_, [this](GraphicEngine& graphic) {
        graphic.SetFont(g_SongFont);
        auto def = BtnDefault, ok = BtnOk, cancel = BtnCancel;
        def->Draw();
        ok->Draw();
        cancel->Draw();

        const PageLayout& layout = PageFor(page_);
        graphic.BeginText();
        graphic.SetTextColor(0);
        for (const Label& label : layout.labels) graphic.DrawText(x_ + label.x, y_ + label.y, label.text);
        for (size_t i = 0; i < layout.sliders.size(); ++i) {
            graphic.DrawText(x_ + kValueX, y_ + layout.sliders[i].valueY, Digits(sliders_[i]->Value));
        }
        graphic.EndText();
        for (size_t i = 0; i < layout.sliders.size(); ++i) sliders_[i]->Draw();
        // Last, so that the opened list covers the rest.
        if (layout.courseList) courseList_->Draw();
        if (layout.bonusBox) bonusBox_->Draw();
        if (layout.weakKeyBox) weakKeyBox_->Draw();
    });
}
