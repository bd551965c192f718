// The seven exported functions. Each one holds the call lock for its whole length, tests that
// start-up succeeded (inside AdModule), converts the texts, and lets no exception out.

#include "admodule/AdModule.h"
#include "admodule/ModuleInstance.h"
#include "admodule/OleText.h"
#include "admodule/tavi.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#define TAVI_EXPORT extern "C" __attribute__((visibility("default")))

using tavi::g_module;
using tavi::TheCallLock;

TAVI_EXPORT std::int32_t InitTavi() {
    try {
        const std::lock_guard<tavi::CallLock> hold(TheCallLock());
        return 1;
    } catch (...) {
        return 1;
    }
}

TAVI_EXPORT std::int32_t GetAdIdList(std::int32_t /*ignored*/, std::int32_t wanted, BSTR* ids) {
    try {
        const std::lock_guard<tavi::CallLock> hold(TheCallLock());
        if (!g_module) {
            tavi::WriteSlot(ids, "");
            return 0;
        }
        std::optional<std::string> text;
        const std::int32_t count = g_module->GetAdIdList(wanted, text);
        if (text) tavi::WriteSlot(ids, *text);
        return count;
    } catch (...) {
        return 0;
    }
}

TAVI_EXPORT std::int32_t QueryAdInfo(std::int32_t id, const OLECHAR* name, BSTR* text) {
    try {
        const std::lock_guard<tavi::CallLock> hold(TheCallLock());
        std::string value;
        const std::int32_t found = g_module ? g_module->QueryAdInfo(id, tavi::OleToAnsi(name), value) : 0;
        tavi::WriteSlot(text, value);
        return found;
    } catch (...) {
        return 0;
    }
}

TAVI_EXPORT std::int32_t ReportAdShow(std::int32_t id) {
    try {
        const std::lock_guard<tavi::CallLock> hold(TheCallLock());
        return g_module ? g_module->ReportAdShow(id) : 1;
    } catch (...) {
        return 0;
    }
}

TAVI_EXPORT std::int32_t ReportAdClick(std::int32_t id) {
    try {
        const std::lock_guard<tavi::CallLock> hold(TheCallLock());
        return g_module ? g_module->ReportAdClick(id) : 1;
    } catch (...) {
        return 0;
    }
}

TAVI_EXPORT std::int32_t ReportInfo(const OLECHAR* action) {
    try {
        const std::lock_guard<tavi::CallLock> hold(TheCallLock());
        return g_module ? g_module->ReportInfo(tavi::OleToAnsi(action)) : 1;
    } catch (...) {
        return 0;
    }
}

TAVI_EXPORT std::int32_t ReleaseTavi() {
    try {
        const std::lock_guard<tavi::CallLock> hold(TheCallLock());
        return g_module ? g_module->ReleaseTavi() : 1;
    } catch (...) {
        return 1;
    }
}
