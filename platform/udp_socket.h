#pragma once
// A UDP socket over IPv4 for the SNMP client: WinSock on Windows, POSIX sockets elsewhere.
// Every operation returns 0 or an error code of the socket layer. On Windows that is WinSock's
// own code (WSAGetLastError); natively it is 10000 + errno, so that socket errors always stay
// apart from the small result codes of the callers, as WinSock's codes do.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace platform {

// Codes both implementations give for the conditions that callers tell apart.
enum SocketResult : long {
    kSocketOk = 0,
    kSocketInvalid = 10009,        // WSAEBADF: no open socket
    kSocketMessageTooLong = 10040, // WSAEMSGSIZE: a datagram did not fit the buffer
    kSocketTimedOut = 10060,       // WSAETIMEDOUT: no datagram within the wait
    kSocketHostNotFound = 11001,   // WSAHOST_NOT_FOUND
    kSocketTryAgain = 11002,       // WSATRY_AGAIN
    kSocketNoRecovery = 11003,     // WSANO_RECOVERY
};

// An IPv4 address in host byte order (127.0.0.1 is 0x7F000001).
using Ipv4Address = std::uint32_t;
constexpr Ipv4Address kIpv4Loopback = 0x7F000001;

// The process's socket layer (WSAStartup/WSACleanup on Windows, nothing natively). A started
// object shuts the layer down once, when stopped or destroyed; starts nest as WinSock's do.
class SocketLayer {
public:
    SocketLayer() = default;
    ~SocketLayer();
    SocketLayer(const SocketLayer&) = delete;
    SocketLayer& operator=(const SocketLayer&) = delete;

    // Starts the layer asking for version 1.1: 0 or the start-up error. On success *major and
    // *minor hold the version the layer will use.
    long Start(int* major, int* minor);
    void Stop();
    bool started() const { return started_; }

private:
    bool started_ = false;
};

// Takes `host` as a dotted IPv4 address, else resolves it as a host name and gives its first
// IPv4 address. An empty host is not found. On Windows the socket layer must be started.
long ResolveIpv4(std::string_view host, Ipv4Address* address);

class UdpSocket {
public:
    UdpSocket() = default;
    ~UdpSocket();
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;
    UdpSocket(UdpSocket&& other) noexcept;
    UdpSocket& operator=(UdpSocket&& other) noexcept;

    long Open();
    // Binds to a local address and port (0: any free port); LocalPort tells which.
    long Bind(Ipv4Address address, std::uint16_t port);
    long LocalPort(std::uint16_t* port) const;
    // Fixes the peer: Send goes there, and only its datagrams are received.
    long Connect(Ipv4Address address, std::uint16_t port);
    long Send(const void* data, std::size_t size);
    long SendTo(const void* data, std::size_t size, Ipv4Address address, std::uint16_t port);
    // Waits at most `timeoutMs` for one datagram and reads it into `buffer`: 0 with its size in
    // *received (and its sender in *from / *fromPort when asked), kSocketTimedOut when none came
    // in time, kSocketMessageTooLong when it was larger than `capacity` (it is dropped), or the
    // error of the socket (a refused port reports here, after a send).
    long Receive(void* buffer, std::size_t capacity, int timeoutMs, std::size_t* received,
                 Ipv4Address* from = nullptr, std::uint16_t* fromPort = nullptr);
    void Close();
    bool is_open() const { return handle_ != kNoSocket; }

private:
    static constexpr std::uintptr_t kNoSocket = ~static_cast<std::uintptr_t>(0);
    std::uintptr_t handle_ = kNoSocket;
};

} // namespace platform
