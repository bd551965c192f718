#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Surface.h"
#include "widgets/MouseRouting.h"

class AniButton;
class CheckBox;
class DropDownList;
class MessageDlg;
class SlideBar;
namespace platform {
struct Message;
}

// The modal settings dialog of the word games: one page per game (1 apple, 2 frog, 3 mole,
// 4 space). Show returns true when something changed, was saved and the player wants it to take
// effect at once.
class SetupDlg : public std::enable_shared_from_this<SetupDlg> {
public:
    static std::shared_ptr<SetupDlg> Create();

    // Background (drawn opaque) and the three 3-frame button strips; also reloads the pictures
    // of the controls and gives the confirmation dialog its pictures.
    void SetPictures(const std::string& background, const std::string& btnDefault, const std::string& btnOk,
                     const std::string& btnCancel);
    // Modal. Every caller passes x = 173, y = 143.
    bool Show(int32_t page, int32_t x, int32_t y);

    std::shared_ptr<AniButton> BtnDefault;
    std::shared_ptr<AniButton> BtnOk;
    std::shared_ptr<AniButton> BtnCancel;

    // The controls shared by the pages (null before their first use).
    std::shared_ptr<SlideBar> Slider(int index) const { return sliders_.at(static_cast<size_t>(index)); }
    std::shared_ptr<DropDownList> CourseList() const { return courseList_; }
    std::shared_ptr<CheckBox> BonusBox() const { return bonusBox_; }
    bool Running() const { return running_; }
    int32_t Page() const { return page_; }

private:
    // The buttons every mouse event walks, in the order they get a press.
    MouseRouting::Table<AniButton, 3> Buttons() const;
    SetupDlg() = default;
    void BtnOk_OnClick();
    void BtnCancel_OnClick();
    void BtnDefault_OnClick();

    void EnsureControls();
    void PreparePage();
    bool HandleMessage(const platform::Message& msg);
    void MouseDown(int32_t X, int32_t Y);
    void MouseMove(int32_t X, int32_t Y);
    void MouseUp(int32_t X, int32_t Y);
    void DrawFrame();
    // The course list while the page shows it, otherwise none.
    std::shared_ptr<DropDownList> CourseListShown() const;

    platform::SurfacePtr background_;
    std::array<std::shared_ptr<SlideBar>, 3> sliders_;
    std::shared_ptr<DropDownList> courseList_;
    std::shared_ptr<CheckBox> bonusBox_;
    std::shared_ptr<CheckBox> weakKeyBox_;
    std::shared_ptr<MessageDlg> confirm_;
    int32_t x_ = 0;
    int32_t y_ = 0;
    int32_t page_ = 1;
    bool running_ = false;
    bool changed_ = false;
};
