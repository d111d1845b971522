#include "platform/udp_socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr long kErrnoBase = 10000;

long LastError() {
    return kErrnoBase + errno;
}

sockaddr_in MakeAddress(Ipv4Address address, std::uint16_t port) {
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_port = htons(port);
    result.sin_addr.s_addr = htonl(address);
    return result;
}

int Fd(std::uintptr_t handle) {
    return static_cast<int>(static_cast<std::intptr_t>(handle));
}

} // namespace

SocketLayer::~SocketLayer() {
    Stop();
}

long SocketLayer::Start(int* major, int* minor) {
    started_ = true;
    *major = 1;
    *minor = 1;
    return kSocketOk;
}

void SocketLayer::Stop() {
    started_ = false;
}

long ResolveIpv4(std::string_view host, Ipv4Address* address) {
    const std::string text(host);
    if (text.empty() || text.find('\0') != std::string::npos)
        return kSocketHostNotFound;
    in_addr dotted{};
    if (::inet_aton(text.c_str(), &dotted) != 0) {
        *address = ntohl(dotted.s_addr);
        return kSocketOk;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    const int rc = ::getaddrinfo(text.c_str(), nullptr, &hints, &found);
    if (rc != 0 || found == nullptr) {
        if (found != nullptr)
            ::freeaddrinfo(found);
        switch (rc) {
        case EAI_AGAIN:
            return kSocketTryAgain;
        case EAI_NONAME:
#ifdef EAI_NODATA
        case EAI_NODATA:
#endif
        case EAI_FAMILY:
        case 0:
            return kSocketHostNotFound;
        default:
            return kSocketNoRecovery;
        }
    }
    const auto* in = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    *address = ntohl(in->sin_addr.s_addr);
    ::freeaddrinfo(found);
    return kSocketOk;
}

UdpSocket::~UdpSocket() {
    Close();
}

UdpSocket::UdpSocket(UdpSocket&& other) noexcept : handle_(other.handle_) {
    other.handle_ = kNoSocket;
}

UdpSocket& UdpSocket::operator=(UdpSocket&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = other.handle_;
        other.handle_ = kNoSocket;
    }
    return *this;
}

long UdpSocket::Open() {
    Close();
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    if (fd < 0)
        return LastError();
    handle_ = static_cast<std::uintptr_t>(fd);
    return kSocketOk;
}

long UdpSocket::Bind(Ipv4Address address, std::uint16_t port) {
    if (!is_open())
        return kSocketInvalid;
    const sockaddr_in local = MakeAddress(address, port);
    if (::bind(Fd(handle_), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0)
        return LastError();
    return kSocketOk;
}

long UdpSocket::LocalPort(std::uint16_t* port) const {
    if (!is_open())
        return kSocketInvalid;
    sockaddr_in local{};
    socklen_t size = sizeof local;
    if (::getsockname(Fd(handle_), reinterpret_cast<sockaddr*>(&local), &size) != 0)
        return LastError();
    *port = ntohs(local.sin_port);
    return kSocketOk;
}

long UdpSocket::Connect(Ipv4Address address, std::uint16_t port) {
    if (!is_open())
        return kSocketInvalid;
    const sockaddr_in peer = MakeAddress(address, port);
    if (::connect(Fd(handle_), reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0)
        return LastError();
    return kSocketOk;
}

long UdpSocket::Send(const void* data, std::size_t size) {
    if (!is_open())
        return kSocketInvalid;
    if (::send(Fd(handle_), data, size, MSG_NOSIGNAL) < 0)
        return LastError();
    return kSocketOk;
}

long UdpSocket::SendTo(const void* data, std::size_t size, Ipv4Address address,
                       std::uint16_t port) {
    if (!is_open())
        return kSocketInvalid;
    const sockaddr_in peer = MakeAddress(address, port);
    if (::sendto(Fd(handle_), data, size, MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&peer),
                 sizeof peer) < 0)
        return LastError();
    return kSocketOk;
}

long UdpSocket::Receive(void* buffer, std::size_t capacity, int timeoutMs, std::size_t* received,
                        Ipv4Address* from, std::uint16_t* fromPort) {
    *received = 0;
    if (!is_open())
        return kSocketInvalid;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline =
        Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd wait{Fd(handle_), POLLIN, 0};
        const int ready = ::poll(&wait, 1, left > 0 ? static_cast<int>(left) : 0);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return LastError();
        }
        if (ready == 0)
            return kSocketTimedOut;
        sockaddr_in sender{};
        socklen_t senderSize = sizeof sender;
        // MSG_TRUNC: the datagram's real length, to report one that did not fit.
        const ssize_t n = ::recvfrom(Fd(handle_), buffer, capacity, MSG_TRUNC | MSG_DONTWAIT,
                                     reinterpret_cast<sockaddr*>(&sender), &senderSize);
        if (n < 0) {
            if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK)
                return LastError();
            if (Clock::now() >= deadline)
                return kSocketTimedOut;
            continue;
        }
        if (static_cast<std::size_t>(n) > capacity)
            return kSocketMessageTooLong;
        *received = static_cast<std::size_t>(n);
        if (from != nullptr)
            *from = ntohl(sender.sin_addr.s_addr);
        if (fromPort != nullptr)
            *fromPort = ntohs(sender.sin_port);
        return kSocketOk;
    }
}

void UdpSocket::Close() {
    if (is_open())
        ::close(Fd(handle_));
    handle_ = kNoSocket;
}

} // namespace platform
