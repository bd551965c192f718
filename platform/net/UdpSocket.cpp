#include "platform/net/UdpSocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform::net {

UdpSocket::~UdpSocket() {
    if (fd_ >= 0) ::close(fd_);
}

UdpSocket::UdpSocket(UdpSocket&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

UdpSocket& UdpSocket::operator=(UdpSocket&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

bool UdpSocket::Open(uint16_t port, bool shared, std::string* error) {
    auto fail = [&](const char* what) {
        if (error) *error = std::string(what) + ": " + std::strerror(errno);
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        return false;
    };
    if (fd_ >= 0) ::close(fd_);
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd_ < 0) return fail("socket");
    int on = 1;
    if (::setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) return fail("SO_BROADCAST");
    if (shared) {
        if (::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0) return fail("SO_REUSEADDR");
        if (::setsockopt(fd_, SOL_SOCKET, SO_REUSEPORT, &on, sizeof on) != 0) return fail("SO_REUSEPORT");
    }
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    addr.sin_port = htons(port);
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) return fail("bind");
    return true;
}

bool UdpSocket::SendTo(std::span<const uint8_t> bytes, uint32_t address, uint16_t port) {
    if (fd_ < 0) return false;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(address);
    addr.sin_port = htons(port);
    ssize_t n =
        ::sendto(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    return n == static_cast<ssize_t>(bytes.size());
}

std::optional<UdpSocket::Datagram> UdpSocket::Receive(int timeoutMs, size_t maxBytes) {
    if (fd_ < 0) return std::nullopt;
    if (timeoutMs > 0) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0) return std::nullopt;
    }
    Datagram d;
    d.bytes.resize(maxBytes + 1);
    sockaddr_in from{};
    socklen_t fromLen = sizeof from;
    ssize_t n =
        ::recvfrom(fd_, d.bytes.data(), d.bytes.size(), MSG_TRUNC, reinterpret_cast<sockaddr*>(&from), &fromLen);
    if (n < 0 || static_cast<size_t>(n) > maxBytes || from.sin_family != AF_INET) return std::nullopt;
    d.bytes.resize(static_cast<size_t>(n));
    d.address = ntohl(from.sin_addr.s_addr);
    d.port = ntohs(from.sin_port);
    return d;
}

}  // namespace platform::net
