#include "shell/MessageDlg.h"

#include "engine/GraphicEngine.h"
#include "engine/KeyedPicture.h"
#include "platform/Message.h"
#include "shell/DialogFrame.h"
#include "shell/Globals.h"
#include "shell/KeyboardLayouts.h"
#include "shell/ModalLoop.h"
#include "widgets/AniButton.h"
#include "widgets/MouseRouting.h"

using platform::Message;

std::shared_ptr<MessageDlg> MessageDlg::Create() {
    auto dlg = std::shared_ptr<MessageDlg>(new MessageDlg());
    MessageDlg* self = dlg.get();
    dlg->BtnNext = AniButton::Create([self] { self->BtnNext_OnClick(); });
    dlg->BtnEnd = AniButton::Create([self] { self->BtnEnd_OnClick(); });
    dlg->BtnRePlay = AniButton::Create([self] { self->BtnRePlay_OnClick(); });
    return dlg;
}

void MessageDlg::SetPictures(const std::string& background, const std::string& replay, const std::string& next,
                             const std::string& end) {
    background_ = KeyedPicture(g_Graphic.get(), background, false);
    BtnRePlay->SetPicture(replay, 3, false);
    BtnNext->SetPicture(next, 3, false);
    BtnEnd->SetPicture(end, 3, false);
}

int32_t MessageDlg::Show(const std::u16string& text, int32_t x, int32_t y, bool showNext) {
    auto self = shared_from_this();
    text_ = text;
    showNext_ = showNext;
    ForceEnglishKeyboard();
    x_ = x;
    y_ = y;
    BtnRePlay->Left = x + 34;
    BtnNext->Left = x + 124;
    BtnEnd->Left = x + 214;
    BtnRePlay->Top = BtnNext->Top = BtnEnd->Top = y + 130;

    running_ = true;
    // Ending the program ends the game: no next level, no new round.
    if (RunModalLoop([this] { return running_; }, [this] { DrawFrame(); },
                     [this](const Message& msg) { return HandleMessage(msg); }))
        result_ = kEnd;
    figures_.clear();
    return result_;
}

void MessageDlg::BtnNext_OnClick() {
    result_ = kNext;
    running_ = false;
}

void MessageDlg::BtnRePlay_OnClick() {
    result_ = kRePlay;
    running_ = false;
}

void MessageDlg::BtnEnd_OnClick() {
    result_ = kEnd;
    running_ = false;
}

bool MessageDlg::HandleMessage(const Message& msg) {
    switch (msg.message) {
    case platform::WM_KEYDOWN:
        // Not translated: the key makes no character for the screen behind.
        KeyDown(msg.wParam);
        return true;
    case platform::WM_MOUSEMOVE:
    case platform::WM_LBUTTONDOWN:
    case platform::WM_LBUTTONUP:
        Mouse(msg);
        return true;
    case platform::WM_RBUTTONDOWN:
    case platform::WM_RBUTTONUP:
        return true;
    default:
        return false;
    }
}

// Keys choose without the click sound.
void MessageDlg::KeyDown(uint32_t key) {
    switch (key) {
    case platform::VK_ESCAPE:
        BtnEnd_OnClick();
        break;
    case platform::VK_RETURN:
        BtnRePlay_OnClick();
        break;
    case platform::VK_SPACE:
        if (showNext_) {
            BtnNext_OnClick();
        } else {
            BtnRePlay_OnClick();
        }
        break;
    default:
        break;
    }
}

void MessageDlg::Mouse(const Message& msg) {
    // The next-round button takes part only while it is shown.
    MouseRouting::Route(msg, BtnEnd, BtnRePlay, showNext_ ? BtnNext : nullptr);
}

void MessageDlg::DrawFrame() {
    DialogFrame::Draw(background_, x_, y_, [this](GraphicEngine& graphic) {
        graphic.SetFont(g_SongFont);
        graphic.BeginText();
        graphic.SetTextColor(0);
        graphic.DrawText(x_ + 100, y_ + 65, text_);
        // Figures stand between the text and the button shelf, right of the mascot.
        for (size_t i = 0; i < figures_.size(); ++i)
            graphic.DrawText(x_ + 100, y_ + 86 + 18 * static_cast<int32_t>(i), figures_[i]);
        graphic.EndText();
        auto next = BtnNext;
        auto end = BtnEnd;
        auto replay = BtnRePlay;
        if (showNext_) next->Draw();
        end->Draw();
        replay->Draw();
    });
}
