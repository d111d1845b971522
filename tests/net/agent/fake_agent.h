#pragma once
// An SNMP agent inside the test process, on 127.0.0.1 and a free port, whose answers a test
// scripts datagram by datagram: right answers, foreign request-ids, other communities, cut or
// broken datagrams, or silence.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "net/snmp_client.h"

namespace net::testing {

using Bytes = std::vector<std::uint8_t>;

// A GetRequest as the agent received it.
struct ReceivedRequest {
    Bytes raw;
    std::string community;
    std::int32_t requestId = 0;
    std::string oid; // dotted text with a leading "."
};

// Decodes a GetRequest; false when the datagram is not one.
bool DecodeGetRequest(const Bytes& datagram, ReceivedRequest* request);

// A GetResponse with one binding.
Bytes IntegerResponse(const std::string& community, std::int32_t requestId, const std::string& oid,
                      std::int32_t value, std::uint8_t tag = kBerInteger);
Bytes BytesResponse(const std::string& community, std::int32_t requestId, const std::string& oid,
                    const Bytes& value, std::uint8_t tag = kBerOctetString);
// The answer an SNMPv1 agent gives for an unknown object: error-status noSuchName (2),
// error-index 1, the name with a NULL value.
Bytes NoSuchNameResponse(const std::string& community, std::int32_t requestId,
                         const std::string& oid);
// The same, built from already encoded parts: any tag, status, index and value element.
Bytes RawResponse(const std::string& community, std::int32_t requestId, std::int32_t errorStatus,
                  std::int32_t errorIndex, const std::string& oid, const Bytes& valueElement,
                  std::uint8_t pduTag = kBerGetResponse);

class FakeAgent {
public:
    // Gives the datagrams to send back for a request (none: stay silent).
    using Responder = std::function<std::vector<Bytes>(const ReceivedRequest&)>;

    explicit FakeAgent(Responder responder);
    ~FakeAgent();
    FakeAgent(const FakeAgent&) = delete;
    FakeAgent& operator=(const FakeAgent&) = delete;

    bool ok() const { return port_ != 0; }
    std::uint16_t port() const { return port_; }
    // Options that reach this agent, with a short reply window so that silence is quick.
    SnmpOptions options(int replyTimeoutMs = 40) const;
    std::vector<ReceivedRequest> requests() const;
    // The number of requests received once at least `count` have come, or after a bounded wait
    // (a few seconds) when they do not: datagrams sent to a silent agent may still be on their
    // way to its thread when the client gives up.
    std::size_t WaitForRequests(std::size_t count) const;

private:
    void Serve();

    Responder responder_;
    platform::SocketLayer layer_;
    platform::UdpSocket socket_;
    std::uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    mutable std::condition_variable received_;
    std::vector<ReceivedRequest> requests_;
    std::thread thread_;
};

// A printer's objects: dotted OID text to the answer datagram's value element.
struct PrinterObjects {
    std::vector<std::pair<std::string, Bytes>> values;

    void Integer(const std::string& oid, std::int32_t value, std::uint8_t tag = kBerInteger);
    void Text(const std::string& oid, const std::string& text);
    // Answers known objects, noSuchName for the others.
    FakeAgent::Responder Responder(const std::string& community = "public") const;
};

} // namespace net::testing
