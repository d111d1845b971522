#include "net/port_address.h"

#include <cstdint>

#include "platform/registry.h"

namespace net {
namespace {

constexpr std::string_view kPrintersKey = "System\\CurrentControlSet\\Control\\Print\\Printers\\";
constexpr std::uint32_t kPortBufferSize = 31;
constexpr std::uint32_t kAddressBufferSize = 64;

// The known port monitors, tried in this order, and the value that holds a port's address.
struct PortMonitor {
    std::string_view portsKey;
    std::string_view addressValue;
};
constexpr PortMonitor kMonitors[] = {
    {"System\\CurrentControlSet\\Control\\Print\\Monitors\\ZEL Port\\Ports\\", "IPAddress"},
    {"System\\CurrentControlSet\\Control\\Print\\Monitors\\Digital Network Port\\Ports\\",
     "TCP/IP Address"},
    {"System\\CurrentControlSet\\Control\\Print\\Monitors\\Beacon Port\\Ports\\", "IPAddress"},
    {"System\\CurrentControlSet\\Control\\Print\\Monitors\\Beacon Port+\\Ports\\", "IPAddress"},
};

// Reads a string value into a buffer of `capacity` bytes; the text ends at the first NUL.
long ReadText(platform::Registry& registry, platform::RegistryKey key, std::string_view name,
              std::uint32_t capacity, std::string* text) {
    char buffer[kAddressBufferSize] = {};
    std::uint32_t size = capacity;
    platform::RegistryType type = platform::RegistryType::None;
    const long rc = registry.QueryValue(key, name, &type, buffer, &size);
    if (rc != platform::kRegistryOk) {
        text->clear();
        return rc;
    }
    std::size_t length = 0;
    while (length < size && length < capacity && buffer[length] != '\0')
        ++length;
    text->assign(buffer, length);
    return rc;
}

} // namespace

long lookupPrinterAddress(platform::Registry& registry, std::string_view printerName,
                          std::string* address, std::string* portName) {
    address->clear();
    platform::RegistryKey key = 0;
    std::string path(kPrintersKey);
    path.append(printerName);
    long rc = registry.OpenKey(path, platform::kKeyQueryValue, &key);
    if (rc != platform::kRegistryOk)
        return rc;
    rc = ReadText(registry, key, "Port", kPortBufferSize, portName);
    registry.CloseKey(key);
    if (rc != platform::kRegistryOk)
        return rc;

    const PortMonitor* monitor = nullptr;
    for (const PortMonitor& candidate : kMonitors) {
        std::string portPath(candidate.portsKey);
        portPath.append(*portName);
        rc = registry.OpenKey(portPath, platform::kKeyQueryValue, &key);
        if (rc == platform::kRegistryOk) {
            monitor = &candidate;
            break;
        }
    }
    if (monitor == nullptr)
        return rc;

    std::string text;
    rc = ReadText(registry, key, monitor->addressValue, kAddressBufferSize, &text);
    registry.CloseKey(key);
    if (rc != platform::kRegistryOk)
        return rc;
    if (text.size() > kMaxPrinterAddressLength)
        return platform::kRegistryMoreData;
    *address = text;
    return rc;
}

} // namespace net
