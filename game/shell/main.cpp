#include <cstdio>
#include <exception>

#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "shell/FrameLoop.h"
#include "shell/StartOptions.h"
#include "shell/Startup.h"

int main(int argc, char** argv) {
    StartOptions options;
    if (!options.Parse(argc, argv)) {
        std::fprintf(stderr, "%s\n", StartOptions::Usage(argc > 0 ? argv[0] : "glyphor_police").c_str());
        return 2;
    }
    try {
        return RunProgram(options.StartAtMenu());
    } catch (const std::exception& e) {
        platform::ShowMessageBox(u"程序运行出错，即将退出。\r\n" + platform::FromUtf8(e.what()),
                                 platform::ApplicationTitle(), platform::MessageIcon::Error);
        ShutdownProgram(kFatalExitStatus);
    }
}
