#include <exception>

#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "shell/FrameLoop.h"
#include "shell/Startup.h"

int main() {
    try {
        return RunProgram();
    } catch (const std::exception& e) {
        platform::ShowMessageBox(u"程序运行出错，即将退出。\r\n" + platform::FromUtf8(e.what()),
                                 platform::ApplicationTitle(), platform::MessageIcon::Error);
        ShutdownProgram();
    }
}
