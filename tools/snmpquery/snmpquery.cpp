#include "tools/snmpquery/snmpquery.h"

#include <cstdint>
#include <ostream>
#include <string_view>

#include "net/snmp_client.h"
#include "platform/codepage1250.h"

namespace snmpquery {
namespace {

const char kUsage[] = "usage: snmpquery --community C --host H [--port P] scalars|walk";

bool ParsePort(std::string_view text, std::uint16_t* port) {
    if (text.empty() || text.size() > 5)
        return false;
    std::uint32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
    }
    if (value == 0 || value > 65535)
        return false;
    *port = static_cast<std::uint16_t>(value);
    return true;
}

} // namespace

std::string AskedObject(const net::SnmpScalarRow& row) {
    net::SnmpOid asked;
    if (row.oid == nullptr || !net::RequestedObject(row.oid, row.instance, &asked))
        return "-";
    return net::FormatOidText(asked);
}

namespace {

int Scalars(const std::string& community, const std::string& host, const net::SnmpOptions& options,
            std::ostream& out) {
    net::SnmpScalarTable table = net::ScalarTable();
    const std::int32_t result = net::snmpGetScalars(community, host, table.data(), options);
    for (std::size_t i = 0; i < net::kScalarRowCount; ++i)
        out << "row " << i << ' ' << AskedObject(table[i]) << " table " << table[i].oid << " value "
            << table[i].value << " second " << table[i].secondValue << '\n';
    out << "result " << result << '\n';
    return result == net::kSnmpOk ? kExitOk : kExitQueryFailed;
}

int Walk(const std::string& community, const std::string& host, const net::SnmpOptions& options,
         std::ostream& out) {
    const net::SnmpColumnTable columns = net::ColumnTable();
    net::ComponentEntries entries;
    const std::int32_t result =
        net::snmpWalkSupplies(community, host, columns.data(), &entries, options);
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const net::ComponentEntry& e = entries[k];
        out << "entry " << k << " name " << QuoteText(e.name) << " level " << e.level
            << " capacity " << e.capacity << " unit " << QuoteText(e.unitText) << " kind " << e.kind
            << '\n';
    }
    out << "result " << result << '\n';
    return result == net::kSnmpOk ? kExitOk : kExitQueryFailed;
}

} // namespace

std::string QuoteText(const char* text) {
    if (text == nullptr)
        return "-";
    static const char kHex[] = "0123456789ABCDEF";
    std::string quoted = "\"";
    for (const char* p = text; *p != '\0'; ++p) {
        const auto byte = static_cast<unsigned char>(*p);
        if (byte >= 0x20 && byte <= 0x7E && byte != '"' && byte != '\\') {
            quoted += static_cast<char>(byte);
        } else {
            quoted += "\\x";
            quoted += kHex[byte >> 4];
            quoted += kHex[byte & 0x0F];
        }
    }
    quoted += '"';
    return quoted;
}

int RunSnmpQuery(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string community;
    std::string host;
    bool haveCommunity = false;
    std::string command;
    net::SnmpOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--community" && hasValue) {
            community = platform::Utf8ToCp1250(args[++i]);
            haveCommunity = true;
        } else if (arg == "--host" && hasValue) {
            host = args[++i];
        } else if (arg == "--port" && hasValue) {
            if (!ParsePort(args[++i], &options.port)) {
                err << "snmpquery: bad port " << args[i] << '\n';
                return kExitUsage;
            }
        } else if (command.empty() && (arg == "scalars" || arg == "walk")) {
            command = arg;
        } else {
            err << kUsage << '\n';
            return kExitUsage;
        }
    }
    if (!haveCommunity || host.empty() || command.empty()) {
        err << kUsage << '\n';
        return kExitUsage;
    }
    return command == "scalars" ? Scalars(community, host, options, out)
                                : Walk(community, host, options, out);
}

} // namespace snmpquery
