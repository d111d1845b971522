#include "platform/udp_socket.h"

#include <winsock2.h>

#include <windows.h>

#include <chrono>
#include <cstring>
#include <string>

namespace platform {
namespace {

sockaddr_in MakeAddress(Ipv4Address address, std::uint16_t port) {
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_port = htons(port);
    result.sin_addr.s_addr = htonl(address);
    return result;
}

SOCKET Handle(std::uintptr_t handle) {
    return static_cast<SOCKET>(handle);
}

} // namespace

SocketLayer::~SocketLayer() {
    Stop();
}

long SocketLayer::Start(int* major, int* minor) {
    Stop();
    WSADATA data{};
    const int rc = WSAStartup(MAKEWORD(1, 1), &data);
    if (rc != 0)
        return rc;
    started_ = true;
    *major = LOBYTE(data.wVersion);
    *minor = HIBYTE(data.wVersion);
    return kSocketOk;
}

void SocketLayer::Stop() {
    if (started_)
        WSACleanup();
    started_ = false;
}

long ResolveIpv4(std::string_view host, Ipv4Address* address) {
    const std::string text(host);
    if (text.empty() || text.find('\0') != std::string::npos)
        return kSocketHostNotFound;
    const unsigned long dotted = inet_addr(text.c_str());
    if (dotted != INADDR_NONE) {
        *address = ntohl(dotted);
        return kSocketOk;
    }
    const hostent* found = gethostbyname(text.c_str());
    if (found == nullptr)
        return WSAGetLastError();
    if (found->h_addrtype != AF_INET || found->h_length != 4 || found->h_addr_list[0] == nullptr)
        return kSocketHostNotFound;
    std::uint32_t network = 0;
    std::memcpy(&network, found->h_addr_list[0], sizeof network);
    *address = ntohl(network);
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
    const SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET)
        return WSAGetLastError();
    handle_ = static_cast<std::uintptr_t>(s);
    return kSocketOk;
}

long UdpSocket::Bind(Ipv4Address address, std::uint16_t port) {
    if (!is_open())
        return kSocketInvalid;
    const sockaddr_in local = MakeAddress(address, port);
    if (bind(Handle(handle_), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0)
        return WSAGetLastError();
    return kSocketOk;
}

long UdpSocket::LocalPort(std::uint16_t* port) const {
    if (!is_open())
        return kSocketInvalid;
    sockaddr_in local{};
    int size = sizeof local;
    if (getsockname(Handle(handle_), reinterpret_cast<sockaddr*>(&local), &size) != 0)
        return WSAGetLastError();
    *port = ntohs(local.sin_port);
    return kSocketOk;
}

long UdpSocket::Connect(Ipv4Address address, std::uint16_t port) {
    if (!is_open())
        return kSocketInvalid;
    const sockaddr_in peer = MakeAddress(address, port);
    if (connect(Handle(handle_), reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0)
        return WSAGetLastError();
    return kSocketOk;
}

long UdpSocket::Send(const void* data, std::size_t size) {
    if (!is_open())
        return kSocketInvalid;
    if (send(Handle(handle_), static_cast<const char*>(data), static_cast<int>(size), 0) ==
        SOCKET_ERROR)
        return WSAGetLastError();
    return kSocketOk;
}

long UdpSocket::SendTo(const void* data, std::size_t size, Ipv4Address address,
                       std::uint16_t port) {
    if (!is_open())
        return kSocketInvalid;
    const sockaddr_in peer = MakeAddress(address, port);
    if (sendto(Handle(handle_), static_cast<const char*>(data), static_cast<int>(size), 0,
               reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == SOCKET_ERROR)
        return WSAGetLastError();
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
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(Handle(handle_), &readable);
        timeval wait{};
        if (left > 0) {
            wait.tv_sec = static_cast<long>(left / 1000);
            wait.tv_usec = static_cast<long>(left % 1000) * 1000;
        }
        const int ready = select(0, &readable, nullptr, nullptr, &wait);
        if (ready == SOCKET_ERROR)
            return WSAGetLastError();
        if (ready == 0)
            return kSocketTimedOut;
        sockaddr_in sender{};
        int senderSize = sizeof sender;
        const int n =
            recvfrom(Handle(handle_), static_cast<char*>(buffer), static_cast<int>(capacity), 0,
                     reinterpret_cast<sockaddr*>(&sender), &senderSize);
        if (n == SOCKET_ERROR) {
            const int error = WSAGetLastError();
            if (error == WSAEMSGSIZE)
                return kSocketMessageTooLong;
            if (error != WSAEWOULDBLOCK && error != WSAEINTR)
                return error;
            if (Clock::now() >= deadline)
                return kSocketTimedOut;
            continue;
        }
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
        closesocket(Handle(handle_));
    handle_ = kNoSocket;
}

} // namespace platform
