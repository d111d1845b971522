#include "net/port_address.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/memory_registry.h"

namespace net {
namespace {

using platform::MemoryRegistry;
using platform::RegistryType;

const std::string kPrinters = "System\\CurrentControlSet\\Control\\Print\\Printers\\";
const std::string kMonitors = "System\\CurrentControlSet\\Control\\Print\\Monitors\\";

struct Value {
    std::string key;
    std::string name;
    std::string data; // REG_SZ with its NUL added
};

struct Lookup {
    long status;
    std::string address;
    std::string port;
};

// The lookup over a registry holding `values`, refusing `refused` operations on every key.
Lookup Resolve(const std::vector<Value>& values, const std::string& printer = "Vela 40",
               unsigned refused = 0) {
    MemoryRegistry registry;
    for (const Value& v : values) {
        std::string data = v.data;
        data.push_back('\0');
        EXPECT_EQ(registry.Put(v.key, v.name, RegistryType::String, data), 0);
    }
    registry.RefuseOperations(refused);
    Lookup result{-1, "stale", "old port"};
    result.status = lookupPrinterAddress(registry, printer, &result.address, &result.port);
    EXPECT_EQ(registry.OpenKeyCount(), 0u) << "every key is closed";
    return result;
}

Value Port(const std::string& port) {
    return {kPrinters + "Vela 40", "Port", port};
}

Value Monitor(const std::string& monitor, const std::string& port, const std::string& name,
              const std::string& address) {
    return {kMonitors + monitor + "\\Ports\\" + port, name, address};
}

// The four monitors in order, each with its own value name, and the failure of each step.
TEST(LookupPrinterAddress, FollowsThePortToItsMonitor) {
    const struct {
        const char* what;
        std::vector<Value> values;
        Lookup expected;
    } cases[] = {
        {"ZEL Port",
         {Port("IP_10.0.0.5"), Monitor("ZEL Port", "IP_10.0.0.5", "IPAddress", "10.0.0.5")},
         {0, "10.0.0.5", "IP_10.0.0.5"}},
        {"Digital Network Port reads TCP/IP Address",
         {Port("DNP1"), Monitor("Digital Network Port", "DNP1", "IPAddress", "10.9.9.9"),
          Monitor("Digital Network Port", "DNP1", "TCP/IP Address", "10.0.0.6")},
         {0, "10.0.0.6", "DNP1"}},
        {"Digital Network Port without TCP/IP Address",
         {Port("DNP1"), Monitor("Digital Network Port", "DNP1", "IPAddress", "10.9.9.9")},
         {platform::kRegistryNotFound, "", "DNP1"}},
        {"Beacon Port",
         {Port("B1"), Monitor("Beacon Port", "B1", "IPAddress", "printer7")},
         {0, "printer7", "B1"}},
        {"Beacon Port+",
         {Port("B2"), Monitor("Beacon Port+", "B2", "IPAddress", "192.168.100.200")},
         {0, "192.168.100.200", "B2"}},
        {"ZEL Port comes before Beacon Port",
         {Port("P"), Monitor("Beacon Port", "P", "IPAddress", "10.0.0.2"),
          Monitor("ZEL Port", "P", "IPAddress", "10.0.0.1")},
         {0, "10.0.0.1", "P"}},
        {"the first monitor that lists the port is used even without an address",
         {Port("P"), Monitor("ZEL Port", "P", "Other", "x"),
          Monitor("Beacon Port", "P", "IPAddress", "10.0.0.2")},
         {platform::kRegistryNotFound, "", "P"}},
        {"a local port: the open error of the last monitor",
         {Port("LPT1:")},
         {platform::kRegistryNotFound, "", "LPT1:"}},
        {"no Port value",
         {{kPrinters + "Vela 40", "Driver", "x"}},
         {platform::kRegistryNotFound, "", ""}},
        {"no printer key: the port name is left alone",
         {},
         {platform::kRegistryNotFound, "", "old port"}},
        {"a port name of 31 bytes does not fit",
         {Port(std::string(31, 'p'))},
         {platform::kRegistryMoreData, "", ""}},
        {"a port name of 30 bytes fits",
         {Port(std::string(30, 'p')),
          Monitor("ZEL Port", std::string(30, 'p'), "IPAddress", "10.1.1.1")},
         {0, "10.1.1.1", std::string(30, 'p')}},
        {"an address of 15 characters fits",
         {Port("P"), Monitor("ZEL Port", "P", "IPAddress", "192.168.100.200")},
         {0, "192.168.100.200", "P"}},
        {"a longer address is unavailable, not cut",
         {Port("P"), Monitor("ZEL Port", "P", "IPAddress", "printer.example.org")},
         {platform::kRegistryMoreData, "", "P"}},
        {"an address over 64 bytes",
         {Port("P"), Monitor("ZEL Port", "P", "IPAddress", std::string(64, 'a'))},
         {platform::kRegistryMoreData, "", "P"}},
    };
    for (const auto& c : cases) {
        const Lookup got = Resolve(c.values);
        EXPECT_EQ(got.status, c.expected.status) << c.what;
        EXPECT_EQ(got.address, c.expected.address) << c.what;
        EXPECT_EQ(got.port, c.expected.port) << c.what;
    }
}

// The registry is read anew on every call, and the address is emptied even on failure.
TEST(LookupPrinterAddress, ReadsTheRegistryEveryTime) {
    MemoryRegistry registry;
    registry.Put(kPrinters + "P", "Port", RegistryType::String, std::string("X\0", 2));
    registry.Put(kMonitors + "ZEL Port\\Ports\\X", "IPAddress", RegistryType::String,
                 std::string("10.0.0.1\0", 9));
    std::string address;
    std::string port;
    ASSERT_EQ(lookupPrinterAddress(registry, "P", &address, &port), 0);
    EXPECT_EQ(address, "10.0.0.1");
    registry.Put(kMonitors + "ZEL Port\\Ports\\X", "IPAddress", RegistryType::String,
                 std::string("10.0.0.9\0", 9));
    ASSERT_EQ(lookupPrinterAddress(registry, "P", &address, &port), 0);
    EXPECT_EQ(address, "10.0.0.9");
    EXPECT_NE(lookupPrinterAddress(registry, "Q", &address, &port), 0);
    EXPECT_EQ(address, "");
}

// Every key is opened for reading only: a standard user, who may change nothing, resolves the
// printer as anyone does.
TEST(LookupPrinterAddress, NeedsNoWriteAccess) {
    using platform::RegistryOperation;
    const unsigned writes = static_cast<unsigned>(RegistryOperation::Create) |
                            static_cast<unsigned>(RegistryOperation::OpenForWriting) |
                            static_cast<unsigned>(RegistryOperation::Set) |
                            static_cast<unsigned>(RegistryOperation::Delete) |
                            static_cast<unsigned>(RegistryOperation::Enumerate);
    const Lookup found =
        Resolve({Port("IP_10.0.0.9"), Monitor("ZEL Port", "IP_10.0.0.9", "IPAddress", "10.0.0.9")},
                "Vela 40", writes);
    EXPECT_EQ(found.status, 0);
    EXPECT_EQ(found.address, "10.0.0.9");
    EXPECT_EQ(found.port, "IP_10.0.0.9");
}

} // namespace
} // namespace net
