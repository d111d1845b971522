#include "net/snmp_client.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <new>

namespace net {
namespace {

constexpr std::int32_t kNoValue = -1;

bool IsTextValue(std::uint8_t type) {
    return type == kBerOctetString || type == kBerSequence || type == kBerIpAddress ||
           type == kBerOpaque;
}

bool IsIntegerValue(std::uint8_t type) {
    return type == kBerInteger || type == kBerCounter || type == kBerGauge || type == kBerTimeTicks;
}

// The answer's bytes up to the first NUL, cut to the field, always NUL-terminated.
void StoreText(const std::vector<std::uint8_t>& bytes, char (&field)[kComponentTextSize]) {
    std::size_t n = 0;
    while (n < bytes.size() && n + 1 < sizeof field && bytes[n] != 0)
        ++n;
    if (n > 0)
        std::memcpy(field, bytes.data(), n);
    field[n] = '\0';
}

// Reads one scalar object as an INTEGER, -1 when the printer gave none.
std::int32_t ReadScalar(SnmpSession* session, const char* oid, std::int32_t instance,
                        SnmpVarBind* varbind, std::int32_t* value) {
    std::int32_t errorStatus = 0;
    std::int32_t errorIndex = 0;
    const std::int32_t rc = snmpGet(session, oid, instance, varbind, &errorStatus, &errorIndex);
    if (rc != kSnmpOk)
        return rc;
    *value = (errorStatus == 0 && errorIndex == 0 && varbind->type == kBerInteger)
                 ? varbind->integer
                 : kNoValue;
    return kSnmpOk;
}

// The column (0 to 4) whose oid text equals `oid` among the first five rows, or -1.
int ColumnOf(const SnmpScalarRow* columns, const char* oid) {
    for (std::size_t i = 0; i < kColumnCount && columns[i].oid != nullptr; ++i)
        if (std::strcmp(columns[i].oid, oid) == 0)
            return static_cast<int>(i);
    return -1;
}

void StoreAnswer(int column, const SnmpVarBind& varbind, bool answered, ComponentEntry* entry) {
    const bool text = answered && IsTextValue(varbind.type);
    const std::int32_t number =
        answered && IsIntegerValue(varbind.type) ? varbind.integer : kNoValue;
    switch (column) {
    case 0:
        if (text)
            StoreText(varbind.bytes, entry->name);
        break;
    case 1:
        entry->level = number;
        break;
    case 2:
        entry->capacity = number;
        break;
    case 3:
        if (text)
            StoreText(varbind.bytes, entry->unitText);
        break;
    case 4:
        entry->kind = number;
        break;
    default:
        break;
    }
}

} // namespace

SnmpScalarTable ScalarTable() {
    SnmpScalarTable table{};
    const struct {
        const char* oid;
        std::int32_t instance;
    } rows[kScalarRowCount] = {
        {".1.3.6.1.4.1.480.2.1.3.1.0", 0},    {".1.3.6.1.4.1.480.1.1.1001.0", 0},
        {".1.3.6.1.4.1.480.1.1.1010.0", 0},   {".1.3.6.1.4.1.480.1.1.1011.0", 0},
        {".1.3.6.1.4.1.480.1.304.12.0", 0},   {".1.3.6.1.4.1.480.1.304.1015.0", 0},
        {".1.3.6.1.4.1.480.1.304.1010.0", 0}, {".1.3.6.1.4.1.480.1.304.1002.1.0", 5},
        {".1.3.6.1.4.1.480.2.1.1.4.1.5", 0},
    };
    for (std::size_t i = 0; i < kScalarRowCount; ++i) {
        table[i].oid = rows[i].oid;
        table[i].instance = rows[i].instance;
    }
    return table;
}

SnmpColumnTable ColumnTable() {
    SnmpColumnTable table{};
    const char* const oids[kColumnCount] = {
        ".1.3.6.1.4.1.480.1.304.1000.1.0", ".1.3.6.1.4.1.480.1.304.1001.1.0",
        ".1.3.6.1.4.1.480.1.304.1002.1.0", ".1.3.6.1.4.1.480.1.304.1003.1.0",
        ".1.3.6.1.4.1.480.1.304.1004.1.0",
    };
    for (std::size_t i = 0; i < kColumnCount; ++i)
        table[i].oid = oids[i];
    return table;
}

std::int32_t snmpOpen(std::string_view host, std::string_view community,
                      std::unique_ptr<SnmpSession>* session, const SnmpOptions& options) {
    session->reset();
    std::unique_ptr<SnmpSession> opened(new (std::nothrow) SnmpSession);
    if (!opened)
        return kSnmpNoMemory;
    int major = 0;
    int minor = 0;
    long rc = opened->layer.Start(&major, &minor);
    if (rc != platform::kSocketOk)
        return static_cast<std::int32_t>(rc);
    if (major != 1 || minor != 1) {
        std::printf("Version: %d.%d\n", major, minor);
        return kSnmpWrongVersion;
    }
    rc = opened->socket.Open();
    if (rc == platform::kSocketOk)
        rc = platform::ResolveIpv4(host, &opened->peer);
    if (rc == platform::kSocketOk)
        rc = opened->socket.Connect(opened->peer, options.port);
    if (rc != platform::kSocketOk)
        return static_cast<std::int32_t>(rc);
    opened->port = options.port;
    opened->community.assign(community.data(), community.size());
    opened->requestId = 256;
    opened->replyTimeoutMs = options.replyTimeoutMs;
    *session = std::move(opened);
    return kSnmpOk;
}

bool RequestedObject(std::string_view oidText, std::int32_t instance, SnmpOid* name) {
    SnmpOid parsed;
    if (!parseOidText(oidText, &parsed))
        return false;
    parsed.ids[parsed.count - 1] = static_cast<std::uint32_t>(instance);
    *name = parsed;
    return true;
}

std::int32_t snmpGet(SnmpSession* session, std::string_view oidText, std::int32_t instance,
                     SnmpVarBind* varbind, std::int32_t* errorStatus, std::int32_t* errorIndex) {
    using Clock = std::chrono::steady_clock;
    varbind->Release();
    SnmpOid name;
    if (!RequestedObject(oidText, instance, &name))
        return kSnmpBadObjectId;
    varbind->name = name;
    ++session->requestId;
    if (!EncodeGetRequest(session->community, session->requestId, name, &session->request))
        return kSnmpBadObjectId;

    int foreignAnswers = 0;
    for (int attempt = 0; attempt < kSnmpSendAttempts; ++attempt) {
        if (session->socket.Send(session->request.data(), session->request.size()) !=
            platform::kSocketOk)
            return kSnmpSocketFailed;
        // Each send has its window; answers to other requests do not extend it.
        const Clock::time_point deadline =
            Clock::now() + std::chrono::milliseconds(session->replyTimeoutMs);
        for (;;) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0)
                break;
            std::size_t received = 0;
            const long rc = session->socket.Receive(session->receiveBuffer.data(),
                                                    session->receiveBuffer.size(),
                                                    static_cast<int>(left), &received);
            if (rc == platform::kSocketTimedOut)
                break;
            if (rc != platform::kSocketOk)
                return kSnmpSocketFailed;
            switch (DecodeGetResponse(session->receiveBuffer.data(), received, session->community,
                                      session->requestId, varbind, errorStatus, errorIndex)) {
            case SnmpDecodeStatus::kOk:
                return kSnmpOk;
            case SnmpDecodeStatus::kMalformed:
                return kSnmpMalformed;
            case SnmpDecodeStatus::kWrongCommunity:
                return kSnmpWrongCommunity;
            case SnmpDecodeStatus::kForeignRequestId:
                if (++foreignAnswers == kSnmpMaxForeignAnswers)
                    return kSnmpForeignAnswers;
                break;
            }
        }
    }
    return kSnmpNoAnswer;
}

void snmpClose(std::unique_ptr<SnmpSession>* session) {
    if (*session) {
        (*session)->socket.Close();
        (*session)->layer.Stop();
    }
    session->reset();
}

std::int32_t snmpGetScalars(std::string_view community, std::string_view host, SnmpScalarRow* rows,
                            const SnmpOptions& options) {
    for (SnmpScalarRow* row = rows; row->oid != nullptr; ++row) {
        row->value = kNoValue;
        row->secondValue = kNoValue;
    }
    std::unique_ptr<SnmpSession> session;
    std::int32_t rc = snmpOpen(host, community, &session, options);
    if (rc != kSnmpOk)
        return rc;
    SnmpVarBind varbind;
    for (SnmpScalarRow* row = rows; row->oid != nullptr; ++row) {
        std::int32_t value = kNoValue;
        rc = ReadScalar(session.get(), row->oid, row->instance, &varbind, &value);
        if (rc != kSnmpOk)
            break;
        row->value = value;
        if (value >= 0 && row->secondOid != nullptr) {
            std::int32_t second = kNoValue;
            rc = ReadScalar(session.get(), row->secondOid, row->instance, &varbind, &second);
            if (rc != kSnmpOk)
                break;
            row->secondValue = second;
            if (second < 0)
                row->value = kNoValue;
        } else {
            row->secondValue = kNoValue;
        }
    }
    snmpClose(&session);
    return rc;
}

std::int32_t snmpWalkSupplies(std::string_view community, std::string_view host,
                              const SnmpScalarRow* columns, ComponentEntries* entries,
                              const SnmpOptions& options) {
    std::memset(entries->data(), 0, sizeof(ComponentEntry) * entries->size());
    std::unique_ptr<SnmpSession> session;
    std::int32_t rc = snmpOpen(host, community, &session, options);
    if (rc != kSnmpOk)
        return rc;
    // After an error answer the column goes on at the next run of instances.
    static constexpr std::int32_t kNextRun[] = {51, 101};
    SnmpVarBind varbind;
    for (const SnmpScalarRow* row = columns; row->oid != nullptr && rc == kSnmpOk; ++row) {
        const int column = ColumnOf(columns, row->oid);
        std::int32_t instance = 1;
        std::size_t entry = 0;
        int errorAnswers = 0;
        // Ends at the third error answer, or once every entry has its answer.
        while (entry < entries->size()) {
            std::int32_t errorStatus = 0;
            std::int32_t errorIndex = 0;
            rc = snmpGet(session.get(), row->oid, instance, &varbind, &errorStatus, &errorIndex);
            if (rc != kSnmpOk)
                break;
            if (errorStatus != 0) {
                if (errorAnswers == 2)
                    break;
                instance = kNextRun[errorAnswers++];
                continue;
            }
            StoreAnswer(column, varbind, errorIndex == 0, &(*entries)[entry]);
            ++instance;
            ++entry;
        }
    }
    snmpClose(&session);
    return rc;
}

} // namespace net
