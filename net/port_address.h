#pragma once
// The printer's network address, read from the spooler's registry: the printer's port, then
// that port's address in the configuration of the first of four port monitors that lists it.
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {
class Registry;
}

namespace net {

// The longest address the settings block keeps (printerAddress holds 15 characters and a NUL).
constexpr std::size_t kMaxPrinterAddressLength = 15;

// Returns 0 when an address was read, else the registry error of the step that failed. The
// address is emptied first. The port name is left alone when the printer's key does not open,
// and is set (empty when the read failed) once the "Port" value has been tried. An address
// longer than kMaxPrinterAddressLength is not cut (a cut name would reach another host): the
// status is then kRegistryMoreData and the address stays empty.
long lookupPrinterAddress(platform::Registry& registry, std::string_view printerName,
                          std::string* address, std::string* portName);

} // namespace net
