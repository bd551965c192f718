#pragma once
// The seven exports of libtavi.so, as a host binds them by name with dlsym. Texts are OLE
// strings (platform/olestr.h); a text result is a new string the caller frees.
//
// Any thread may call them, from several threads at once: the calls are serialised, one runs at
// a time, in the order they were made. A call made while other threads' calls run or wait blocks
// until those have returned (a thread calling in a loop does not get ahead of it), and a call
// lasts as long as its HTTP transfers: up to about one second for GetAdIdList, three for a show
// or click report and four for ReportInfo.

#include "platform/olestr.h"

#include <cstdint>

extern "C" {

using InitTaviFn = std::int32_t (*)();
using GetAdIdListFn = std::int32_t (*)(std::int32_t ignored, std::int32_t wanted, BSTR* ids);
using QueryAdInfoFn = std::int32_t (*)(std::int32_t id, const OLECHAR* name, BSTR* text);
using ReportAdShowFn = std::int32_t (*)(std::int32_t id);
using ReportAdClickFn = std::int32_t (*)(std::int32_t id);
using ReportInfoFn = std::int32_t (*)(const OLECHAR* action);
using ReleaseTaviFn = std::int32_t (*)();

}  // extern "C"
