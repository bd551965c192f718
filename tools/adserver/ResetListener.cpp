#include "ResetListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace adserver {
namespace {

constexpr std::size_t kMaxRequestBytes = 16384;

// Reads the request head, waiting at most a second in all.
std::string ReadHead(int connection) {
    std::string head;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < kMaxRequestBytes) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        pollfd pfd{connection, POLLIN, 0};
        if (left <= 0 || poll(&pfd, 1, static_cast<int>(left)) <= 0) break;
        char buffer[2048];
        const ssize_t got = recv(connection, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        head.append(buffer, static_cast<std::size_t>(got));
    }
    return head;
}

}  // namespace

ResetListener::ResetListener(OnRequest onRequest, bool hang) : onRequest_(std::move(onRequest)), hang_(hang) {}

ResetListener::~ResetListener() {
    for (const int connection : held_) close(connection);
    if (fd_ >= 0) close(fd_);
}

int ResetListener::bind(const std::string& host, int port) {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) return 0;
    int yes = 1;
    setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1 ||
        ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd_, 16) != 0) {
        return 0;
    }
    socklen_t length = sizeof address;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

void ResetListener::run() {
    while (!stopping_) {
        pollfd pfd{fd_, POLLIN, 0};
        if (poll(&pfd, 1, 50) <= 0) continue;
        const int connection = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection >= 0) serve(connection);
    }
}

void ResetListener::serve(int connection) {
    const std::string head = ReadHead(connection);
    const std::size_t space = head.find(' ');
    const std::size_t end = space == std::string::npos ? std::string::npos : head.find(' ', space + 1);
    if (end != std::string::npos) onRequest_(head.substr(space + 1, end - space - 1));
    if (hang_) {
        held_.push_back(connection);
        return;
    }
    static constexpr char kStart[] = "HTTP/1.1 200 OK\r\nContent-Length: 4096\r\n\r\n<";
    send(connection, kStart, sizeof kStart - 1, MSG_NOSIGNAL);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // let the start arrive first
    linger hard{1, 0};
    setsockopt(connection, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    close(connection);
}

}  // namespace adserver
