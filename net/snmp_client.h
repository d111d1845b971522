#pragma once
// A small SNMP version 1 manager: one GetRequest per variable over UDP, read back into scalar
// rows or into the 20-entry component table. Every wait is bounded: five sends per request,
// each followed by a wait of kSnmpReplyTimeoutMs for the answer.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "net/snmp_message.h"
#include "platform/udp_socket.h"

namespace net {

// Result codes of a query.
enum SnmpResult : std::int32_t {
    kSnmpOk = 0,
    kSnmpSocketFailed = -1,  // sending or receiving on the socket failed
    kSnmpNoMemory = 1,       // no memory for the session
    kSnmpBadObjectId = 2,    // an object identifier text that does not parse or encode
    kSnmpForeignAnswers = 3, // five datagrams carried another request-id
    kSnmpWrongCommunity = 5, // the answer carried another community
    kSnmpMalformed = 11,     // the answer is not a well-formed GetResponse
    kSnmpWrongVersion = 30,  // the socket layer is not version 1.1
    kSnmpNoAnswer = 4102,    // no answer after five sends
    // Any other code is the socket layer's (start-up, socket, name resolution, connect).
};

constexpr std::uint16_t kSnmpPort = 161;
constexpr int kSnmpSendAttempts = 5;
// How long each send waits for its answer. A printer on the network answers within a few
// milliseconds; a busy one gets five of these windows. A silent address is given up after
// kSnmpSendAttempts * kSnmpReplyTimeoutMs per request.
constexpr int kSnmpReplyTimeoutMs = 300;
// Datagrams with another request-id tolerated in one exchange.
constexpr int kSnmpMaxForeignAnswers = 5;
constexpr std::size_t kSnmpReceiveBufferSize = 4096;

// Where and how patiently to ask; the program always uses the defaults.
struct SnmpOptions {
    std::uint16_t port = kSnmpPort;
    int replyTimeoutMs = kSnmpReplyTimeoutMs;
};

// One object to read. A table ends with a row whose oid is null.
struct SnmpScalarRow {
    const char* oid = nullptr;       // dotted text beginning with "."
    const char* secondOid = nullptr; // read only when the first gave 0 or more
    std::int32_t instance = 0;       // replaces the last sub-identifier before sending
    std::int32_t value = -1;         // out: the answer, or -1
    std::int32_t secondValue = -1;   // out: the second answer, or -1
};

// One printer component of the table walk.
constexpr std::size_t kComponentEntryCount = 20;
constexpr std::size_t kComponentTextSize = 256;
struct ComponentEntry {
    char name[kComponentTextSize];
    std::int32_t level;
    std::int32_t capacity;
    char unitText[kComponentTextSize];
    std::int32_t kind;
};
using ComponentEntries = std::array<ComponentEntry, kComponentEntryCount>;

// Kinds of component that callers tell apart.
enum ComponentKind : std::int32_t {
    kComponentNotInstalled = 1,
    kComponentInputSource = 2,
    kComponentMailbox = 3,
    kComponentToner = 4,
    kComponentTonerMeasured = 5,
    kComponentMaintenanceFirst = 6,
    kComponentMaintenanceLast = 15,
};

// The scalar table: 9 rows and the terminating row; callers address rows by these indexes.
enum ScalarRowIndex : std::size_t {
    kScalarRowDisk = 2,              // answered: hard disk installed
    kScalarRowMultiResolution = 3,   // above 1: multiple-resolution option installed
    kScalarRowDuplexer = 4,          // answered: duplex unit installed
    kScalarRowStacker = 5,           // answered: stacker installed
    kScalarRowComponentCount = 6,    // entries in the component table
    kScalarRowFirstOptionalTray = 7, // answered: first optional input tray installed
    kScalarRowCount = 9,
};
using SnmpScalarTable = std::array<SnmpScalarRow, kScalarRowCount + 1>;

// The column table: name, level, capacity, unit text, kind, and the terminating row.
constexpr std::size_t kColumnCount = 5;
using SnmpColumnTable = std::array<SnmpScalarRow, kColumnCount + 1>;

// Fresh copies of the program's tables (each caller owns its own, the rows hold answers).
SnmpScalarTable ScalarTable();
SnmpColumnTable ColumnTable();

// A session: one socket connected to the printer, for one query.
struct SnmpSession {
    platform::SocketLayer layer;
    platform::UdpSocket socket;
    platform::Ipv4Address peer = 0;
    std::uint16_t port = kSnmpPort;
    std::string community;
    std::int32_t requestId = 256;
    int replyTimeoutMs = kSnmpReplyTimeoutMs;
    std::vector<std::uint8_t> request;
    std::array<std::uint8_t, kSnmpReceiveBufferSize> receiveBuffer{};
};

// Starts the socket layer, creates the socket and connects it to `host` (dotted address or
// name). 0 and the session, or the failure code.
std::int32_t snmpOpen(std::string_view host, std::string_view community,
                      std::unique_ptr<SnmpSession>* session, const SnmpOptions& options = {});
// The object a request for `oidText` and `instance` names: the text's sub-identifiers with the
// last one replaced by `instance` (taken as unsigned 32 bits). False when the text does not
// parse.
bool RequestedObject(std::string_view oidText, std::int32_t instance, SnmpOid* name);
// One exchange: asks for RequestedObject(`oidText`, `instance`). 0 with
// the answer in `varbind` and the agent's error status and index, or the failure code.
std::int32_t snmpGet(SnmpSession* session, std::string_view oidText, std::int32_t instance,
                     SnmpVarBind* varbind, std::int32_t* errorStatus, std::int32_t* errorIndex);
void snmpClose(std::unique_ptr<SnmpSession>* session);

// Reads every row of `rows` (up to the row with a null oid) into its value: the INTEGER the
// printer gave, else -1. All values are -1 first. 0 or the code of the first failure.
std::int32_t snmpGetScalars(std::string_view community, std::string_view host, SnmpScalarRow* rows,
                            const SnmpOptions& options = {});
// Reads the component table column by column, probing instances 1, 2, ... then 51, ... then
// 101, ... (a column ends at its third error answer, or when all 20 entries are filled). The
// entries are cleared first. 0 or the code of the first failure.
std::int32_t snmpWalkSupplies(std::string_view community, std::string_view host,
                              const SnmpScalarRow* columns, ComponentEntries* entries,
                              const SnmpOptions& options = {});

} // namespace net
