// A stand-in advertising module for tests: it has InitTavi and GetAdIdList only. Once InitTavi
// has run, its list holds a piece that is no number; before that it lists one good id, so a
// client that skipped InitTavi would get an ad.
#include "admodule/tavi.h"

#define PARTIAL_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
bool g_initialised = false;
}

PARTIAL_EXPORT std::int32_t InitTavi() {
    g_initialised = true;
    return 1;
}

PARTIAL_EXPORT std::int32_t GetAdIdList(std::int32_t /*ignored*/, std::int32_t /*wanted*/, BSTR* ids) {
    *ids = SysAllocString(g_initialised ? u"4,x,5" : u"9");
    return g_initialised ? 3 : 1;
}
