// A stand-in advertising module for tests: it has InitTavi and GetAdIdList only, and its list
// holds a piece that is no number.
#include "admodule/tavi.h"

#define PARTIAL_EXPORT extern "C" __attribute__((visibility("default")))

PARTIAL_EXPORT std::int32_t InitTavi() { return 1; }

PARTIAL_EXPORT std::int32_t GetAdIdList(std::int32_t /*ignored*/, std::int32_t /*wanted*/, BSTR* ids) {
    *ids = SysAllocString(u"4,x,5");
    return 3;
}
