#include "ads/AdColumn.h"

#include "engine/GameFont.h"
#include "engine/GraphicEngine.h"
#include "shell/Globals.h"

AdColumn::AdColumn() : font_(std::make_shared<GameFont>()) {
    font_->SetCharSet(134);
    font_->SetFaceName(u"宋体");
    font_->SetHeight(-14);
    font_->SetUnderline(1);
}

AdColumn::~AdColumn() = default;

void AdColumn::Show() {
    const std::shared_ptr<GraphicEngine> graphic = g_Graphic;
    if (!graphic) return;
    graphic->BeginText();
    graphic->SetTextColor(kShowColor);
    graphic->DrawText(kShowX, kShowY, u"我们都是大灰狼我们都是大灰狼我们都是大灰狼我们都是大灰狼");
    graphic->EndText();
}
