#pragma once
// SNMP version 1 messages: object identifier text, the GetRequest the client sends and the
// GetResponse it reads. Pure byte work over the BER codec, no sockets.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "net/ber.h"

namespace net {

// An object identifier as a count and its sub-identifiers.
struct SnmpOid {
    std::size_t count = 0;
    std::array<std::uint32_t, kBerMaxOidComponents> ids{};
};

// Dotted text (".1.3.6.1...") into sub-identifiers. Empty components are skipped; any character
// other than digits and dots fails, as do a component of more than 15 digits or above
// 4294967295, more than 128 components, fewer than two, a first of 3 or more and a second of
// 40 or more.
bool parseOidText(std::string_view text, SnmpOid* oid);
// Sub-identifiers as dotted text, each with a leading dot (".1.3.6"); empty for none.
std::string FormatOidText(const SnmpOid& oid);

// The variable of one request and, after the exchange, its answer.
struct SnmpVarBind {
    SnmpOid name;
    std::uint8_t type = kBerNull;
    // The value of the integer kinds (INTEGER, Counter, Gauge, TimeTicks).
    std::int32_t integer = 0;
    // The contents of the other kinds.
    std::vector<std::uint8_t> bytes;

    // Forgets the value before a new request.
    void Release() {
        type = kBerNull;
        integer = 0;
        bytes.clear();
    }
};

// The GetRequest for one variable: SEQUENCE { version 0, community, GetRequest-PDU {
// request-id, 0, 0, SEQUENCE { SEQUENCE { name, NULL } } } }. False when the name does not
// encode (see AppendBerOid).
bool EncodeGetRequest(std::string_view community, std::int32_t requestId, const SnmpOid& name,
                      std::vector<std::uint8_t>* out);

enum class SnmpDecodeStatus {
    kOk,
    kMalformed,        // not a well-formed GetResponse: a wrong tag or a length past the end
    kWrongCommunity,   // the community differs from the session's
    kForeignRequestId, // an answer to another request
};

// Reads one GetResponse datagram, in the order the checks are made: message SEQUENCE, version
// INTEGER (not checked), community (must equal `community`), GetResponse-PDU, request-id (must
// equal `requestId`), error-status, error-index, the bindings and the first binding's name and
// value. On kOk the value is in `varbind` (type = the value's tag) and the statuses are set.
SnmpDecodeStatus DecodeGetResponse(const std::uint8_t* data, std::size_t size,
                                   std::string_view community, std::int32_t requestId,
                                   SnmpVarBind* varbind, std::int32_t* errorStatus,
                                   std::int32_t* errorIndex);

} // namespace net
