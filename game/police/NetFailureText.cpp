#include "police/NetFailureText.h"

#include <iterator>

#include "platform/CodePage.h"

namespace {

struct KnownFailure {
    const char* contains;  // a part of the session service's sentence
    const char16_t* text;
};

// Checked in order; the first entry whose part the failure contains gives the text.
constexpr KnownFailure kKnown[] = {
    {"does not answer", u"对方没有应答。"},
    {"is full", u"这个游戏已满员。"},
    {"Wrong password", u"对方拒绝了加入：密码不对。"},
    {"closed the connection", u"对方已退出游戏。"},
    {"already in use", u"端口已被占用：本机可能已有一个游戏在运行。"},
    {"unreachable", u"没有可用的网络接口，请确认网络已连接。"},
    {"Cannot assign requested address", u"没有可用的网络接口，请确认网络已连接。"},
    {"No such device", u"没有可用的网络接口，请确认网络已连接。"},
    {"network library", u"网络库无法启动。"},
    {"Cannot connect", u"无法连接到对方。"},
    {"connection failed", u"无法连接到对方。"},
    {"network port", u"无法打开网络端口。"},
    {"session port", u"无法打开网络端口。"},
    {"longer than", u"名称或密码太长。"},
    {"already open", u"已经在一个游戏中。"},
};

// An environment variable's value is shown up to this many bytes.
constexpr size_t kMaxValueBytes = 64;

// The value after "NAME ...: " in the service's sentence about an environment variable.
std::u16string ValueAfterColon(const std::string& failure) {
    const size_t colon = failure.find(": ");
    return colon == std::string::npos ? std::u16string{}
                                      : platform::FromUtf8(failure.substr(colon + 2, kMaxValueBytes));
}

}  // namespace

std::u16string NetFailureText::Reason(const std::string& failure) {
    if (failure.rfind("GLYPHOR_LAN_PORT", 0) == 0)
        return u"环境变量 GLYPHOR_LAN_PORT 的值“" + ValueAfterColon(failure) + u"”不是端口号（1 到 65535）。";
    if (failure.rfind("GLYPHOR_LAN_BROADCAST", 0) == 0)
        return u"环境变量 GLYPHOR_LAN_BROADCAST 的值“" + ValueAfterColon(failure) + u"”不是 IPv4 地址。";
    if (const size_t port = failure.find("port ");
        port != std::string::npos && failure.find("already in use") != std::string::npos) {
        const size_t digits = failure.find_first_not_of("0123456789", port + 5);
        const std::string number = failure.substr(port + 5, digits == std::string::npos ? 0 : digits - port - 5);
        if (!number.empty() && number.size() <= 5)
            return u"端口 " + platform::FromUtf8(number) + u" 已被占用：本机可能已有一个游戏在运行。";
    }
    for (const KnownFailure& known : kKnown) {
        if (failure.find(known.contains) != std::string::npos) return known.text;
    }
    if (failure.empty()) return u"原因不明。";
    return u"网络错误：" + platform::FromUtf8(failure);
}

std::u16string NetFailureText::Setup(const std::string& failure) {
    return u"无法初始网络效引擎\r\n\r\n" + Reason(failure);
}

std::u16string NetFailureText::Host(const std::string& failure) { return u"无法建立游戏：" + Reason(failure); }

std::u16string NetFailureText::Join(const std::string& failure) { return u"无法加入游戏：" + Reason(failure); }
