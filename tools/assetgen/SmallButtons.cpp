#include "SmallButtons.h"

#include "Buttons.h"

namespace assetgen {

void addGameButtons(PictureSet& set, const std::string& start, const std::string& end, const std::string& pause,
                    const std::string& setup, const std::string& exit, const Rgb& face) {
    ButtonLook look;
    look.radius = 12;
    look.fontPx = 15;
    look.face = rgb(60, 170, 90);
    set.addKeyed(start, buttonStrip(45, 40, 4, "开始", look), 4);
    look.face = pal::Red;
    set.addKeyed(end, buttonStrip(45, 40, 4, "结束", look), 4);
    look.face = pal::Orange;
    set.addKeyed(pause, buttonStrip(45, 40, 4, "暂停", look), 4);
    look.face = face;
    set.addKeyed(setup, buttonStrip(45, 40, 4, "设置", look), 4);
    ButtonLook ex;
    ex.radius = 16;
    ex.face = pal::RedDark.lighter(0.15);
    set.addKeyed(exit, buttonStrip(90, 45, 3, "退出", ex), 3);
}

}  // namespace assetgen
