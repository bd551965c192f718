#include "wordgames/DictWordSource.h"

#include "engine/GraphicEngine.h"
#include "shell/Globals.h"
#include "wordgames/IDict.h"

int32_t DictWordSource::Count() const { return dict_.Count(); }

std::u16string DictWordSource::WordAt(int32_t index) const { return dict_.WordAt(index); }

void DictWordSource::BeginMeasure() {
    if (g_Graphic) g_Graphic->BeginText();
}

void DictWordSource::EndMeasure() {
    if (g_Graphic) g_Graphic->EndText();
}

int32_t DictWordSource::Width(const std::u16string& word) { return g_Graphic ? g_Graphic->MeasureText(word).cx : 0; }
