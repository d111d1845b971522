#include "net/port_address.h"

#include <cstdint>

#include "platform/registry.h"
#include "platform/scoped_registry_key.h"

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
long ReadText(const platform::ScopedRegistryKey& key, std::string_view name, std::uint32_t capacity,
              std::string* text) {
    char buffer[kAddressBufferSize] = {};
    std::uint32_t size = capacity;
    platform::RegistryType type = platform::RegistryType::None;
    const long rc = key.QueryValue(name, &type, buffer, &size);
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
    std::string path(kPrintersKey);
    path.append(printerName);
    long rc = platform::kRegistryOk;
    {
        const auto printer =
            platform::ScopedRegistryKey::Open(registry, path, platform::kKeyQueryValue);
        if (!printer)
            return printer.OpenResult();
        rc = ReadText(printer, "Port", kPortBufferSize, portName);
    }
    if (rc != platform::kRegistryOk)
        return rc;

    for (const PortMonitor& monitor : kMonitors) {
        std::string portPath(monitor.portsKey);
        portPath.append(*portName);
        const auto port =
            platform::ScopedRegistryKey::Open(registry, portPath, platform::kKeyQueryValue);
        rc = port.OpenResult();
        if (!port)
            continue;
        std::string text;
        rc = ReadText(port, monitor.addressValue, kAddressBufferSize, &text);
        if (rc != platform::kRegistryOk)
            return rc;
        if (text.size() > kMaxPrinterAddressLength)
            return platform::kRegistryMoreData;
        *address = text;
        return rc;
    }
    // No known monitor lists the port: the error of the last attempt.
    return rc;
}

} // namespace net
