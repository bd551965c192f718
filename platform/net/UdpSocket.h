#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace platform::net {

// An IPv4 UDP socket with broadcast allowed. Addresses and ports are in host byte order.
class UdpSocket {
public:
    struct Datagram {
        std::vector<uint8_t> bytes;
        uint32_t address = 0;
        uint16_t port = 0;
    };

    UdpSocket() = default;
    ~UdpSocket();
    UdpSocket(UdpSocket&& other) noexcept;
    UdpSocket& operator=(UdpSocket&& other) noexcept;
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    // Binds to any address on `port` (0: a free port). `shared` lets several sockets of this
    // machine bind the same port, each of them receiving the broadcasts sent to it.
    bool Open(uint16_t port, bool shared, std::string* error);
    bool IsOpen() const { return fd_ >= 0; }
    int Fd() const { return fd_; }

    bool SendTo(std::span<const uint8_t> bytes, uint32_t address, uint16_t port);
    // Waits up to timeoutMs (0: no wait) for a datagram. Datagrams longer than maxBytes are
    // read and discarded; the call then reports nothing.
    std::optional<Datagram> Receive(int timeoutMs, size_t maxBytes);

private:
    int fd_ = -1;
};

}  // namespace platform::net
