// The message queue's wait on a real X server (Xvfb, started here): input and wakes from other
// threads end it at once, and with neither it sleeps until its deadline.
#include <SDL.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "XPointer.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/MessageQueue.h"

using platform::Clock;
using platform::Display;
using platform::Message;
using platform::MessageQueue;

namespace {

// An Xvfb of its own, on the first free display number from 150 + pid % 50 that it starts on.
class OwnXServer {
public:
    OwnXServer() {
        if (access("/usr/bin/Xvfb", X_OK) != 0) return;
        for (int tries = 0, number = 150 + getpid() % 50; tries < 20 && name_.empty(); ++tries, ++number) {
            const std::string name = ":" + std::to_string(number);
            if (access(SocketPath(number).c_str(), F_OK) == 0 ||
                access(("/tmp/.X" + std::to_string(number) + "-lock").c_str(), F_OK) == 0)
                continue;
            pid_ = fork();
            if (pid_ == 0) {
                execl("/usr/bin/Xvfb", "Xvfb", name.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                      static_cast<char*>(nullptr));
                _exit(127);
            }
            if (pid_ > 0 && Accepts(number)) name_ = name;
            if (name_.empty()) Stop();
        }
    }
    ~OwnXServer() { Stop(); }
    const std::string& Name() const { return name_; }

private:
    static std::string SocketPath(int number) { return "/tmp/.X11-unix/X" + std::to_string(number); }

    // True once the server answers on its socket; false when it ends first (the number was
    // taken meanwhile) or says nothing for 10 s.
    bool Accepts(int number) const {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        SocketPath(number).copy(address.sun_path, sizeof address.sun_path - 1);
        for (int attempt = 0; attempt < 200; ++attempt) {
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) return false;
            const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
            const bool ok = fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
            if (fd >= 0) close(fd);
            if (ok) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    void Stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    pid_t pid_ = -1;
    std::string name_;
};

uint32_t Elapsed(uint32_t since) { return Clock::Now() - since; }

TEST(XServerWaitTest, InputAndWakesEndTheWaitAndNothingEndsItAtTheDeadline) {
    OwnXServer server;
    if (access("/usr/bin/Xvfb", X_OK) != 0) GTEST_SKIP() << "no Xvfb on this machine";
    ASSERT_FALSE(server.Name().empty()) << "Xvfb did not start";
    setenv("DISPLAY", server.Name().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    setenv("GLYPHOR_WINDOWED", "1", 1);
    auto display = Display::CreateWindow("wait");
    ASSERT_NE(display, nullptr) << SDL_GetError();
    ASSERT_TRUE(display->InitRenderer());
    display->Show();
    auto back = platform::Surface::Create(Display::kWidth, Display::kHeight);
    ASSERT_TRUE(display->Present(*back));
    SDL_Window* window = display->SdlWindow();

    auto& queue = MessageQueue::Instance();
    Message msg;
    const auto drain = [&] {
        queue.WaitReal(Clock::Now() + 300);
        while (queue.Peek(msg, true)) {}
    };
    drain();

    // Nothing happens: the wait lasts until its deadline.
    uint32_t start = Clock::Now();
    queue.WaitUntil(start + 150);
    EXPECT_GE(Elapsed(start), 150u);

    // The pointer moves over the window, from another connection.
    std::thread mover([window] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        WarpPointerInto(window, 200, 150);
    });
    start = Clock::Now();
    queue.WaitUntil(start + 5000);
    mover.join();
    EXPECT_LT(Elapsed(start), 2000u);
    bool moved = false;
    while (queue.Peek(msg, true)) moved = moved || (msg.message == platform::WM_MOUSEMOVE && msg.X() == 200);
    EXPECT_TRUE(moved);

    // Another thread wakes the wait.
    std::thread waker([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        MessageQueue::Wake();
    });
    start = Clock::Now();
    queue.WaitUntil(start + 5000);
    waker.join();
    EXPECT_LT(Elapsed(start), 2000u);
    display.reset();
}

}  // namespace
