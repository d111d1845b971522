#include "tests/net/agent/fake_agent.h"

#include <chrono>
#include <string>

namespace net::testing {
namespace {

std::string OidText(const std::uint32_t* ids, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += '.';
        text += std::to_string(ids[i]);
    }
    return text;
}

Bytes OidElement(const std::string& oid) {
    SnmpOid parsed;
    Bytes out;
    if (parseOidText(oid, &parsed))
        AppendBerOid(&out, parsed.ids.data(), parsed.count);
    return out;
}

} // namespace

bool DecodeGetRequest(const Bytes& datagram, ReceivedRequest* request) {
    BerReader reader(datagram.data(), datagram.size());
    BerElement element;
    if (!reader.Expect(kBerSequence, &element))
        return false;
    BerReader message = element.Children();
    if (!message.Expect(kBerInteger, &element) || !message.Expect(kBerOctetString, &element))
        return false;
    request->community.assign(reinterpret_cast<const char*>(element.contents), element.length);
    if (!message.Expect(kBerGetRequest, &element))
        return false;
    BerReader pdu = element.Children();
    if (!pdu.Expect(kBerInteger, &element) ||
        !DecodeBerInteger(element.contents, element.length, &request->requestId))
        return false;
    if (!pdu.Expect(kBerInteger, &element) || !pdu.Expect(kBerInteger, &element) ||
        !pdu.Expect(kBerSequence, &element))
        return false;
    BerReader bindings = element.Children();
    if (!bindings.Expect(kBerSequence, &element))
        return false;
    BerReader binding = element.Children();
    if (!binding.Expect(kBerObjectId, &element))
        return false;
    std::uint32_t ids[kBerMaxOidComponents];
    std::size_t count = 0;
    if (!DecodeBerOid(element.contents, element.length, ids, kBerMaxOidComponents, &count))
        return false;
    request->oid = OidText(ids, count);
    request->raw = datagram;
    return true;
}

Bytes RawResponse(const std::string& community, std::int32_t requestId, std::int32_t errorStatus,
                  std::int32_t errorIndex, const std::string& oid, const Bytes& valueElement,
                  std::uint8_t pduTag) {
    Bytes binding = OidElement(oid);
    binding.insert(binding.end(), valueElement.begin(), valueElement.end());
    Bytes bindings;
    AppendBerConstructed(&bindings, kBerSequence, binding);
    Bytes pdu;
    AppendBerInteger(&pdu, requestId);
    AppendBerInteger(&pdu, errorStatus);
    AppendBerInteger(&pdu, errorIndex);
    AppendBerConstructed(&pdu, kBerSequence, bindings);
    Bytes message;
    AppendBerInteger(&message, 0);
    AppendBerBytes(&message, kBerOctetString, community.data(), community.size());
    AppendBerConstructed(&message, pduTag, pdu);
    Bytes out;
    AppendBerConstructed(&out, kBerSequence, message);
    return out;
}

Bytes IntegerResponse(const std::string& community, std::int32_t requestId, const std::string& oid,
                      std::int32_t value, std::uint8_t tag) {
    Bytes element;
    AppendBerInteger(&element, value, tag);
    return RawResponse(community, requestId, 0, 0, oid, element);
}

Bytes BytesResponse(const std::string& community, std::int32_t requestId, const std::string& oid,
                    const Bytes& value, std::uint8_t tag) {
    Bytes element;
    AppendBerBytes(&element, tag, value.data(), value.size());
    return RawResponse(community, requestId, 0, 0, oid, element);
}

Bytes NoSuchNameResponse(const std::string& community, std::int32_t requestId,
                         const std::string& oid) {
    Bytes element;
    AppendBerNull(&element);
    return RawResponse(community, requestId, 2, 1, oid, element);
}

FakeAgent::FakeAgent(Responder responder) : responder_(std::move(responder)) {
    int major = 0;
    int minor = 0;
    if (layer_.Start(&major, &minor) != platform::kSocketOk || socket_.Open() != 0 ||
        socket_.Bind(platform::kIpv4Loopback, 0) != 0 || socket_.LocalPort(&port_) != 0) {
        port_ = 0;
        return;
    }
    thread_ = std::thread([this] { Serve(); });
}

FakeAgent::~FakeAgent() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
}

SnmpOptions FakeAgent::options(int replyTimeoutMs) const {
    SnmpOptions options;
    options.port = port_;
    options.replyTimeoutMs = replyTimeoutMs;
    return options;
}

std::vector<ReceivedRequest> FakeAgent::requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

std::size_t FakeAgent::WaitForRequests(std::size_t count) const {
    std::unique_lock<std::mutex> lock(mutex_);
    received_.wait_for(lock, std::chrono::seconds(5), [&] { return requests_.size() >= count; });
    return requests_.size();
}

void FakeAgent::Serve() {
    Bytes buffer(65536);
    while (!stop_) {
        std::size_t received = 0;
        platform::Ipv4Address from = 0;
        std::uint16_t fromPort = 0;
        if (socket_.Receive(buffer.data(), buffer.size(), 10, &received, &from, &fromPort) != 0)
            continue;
        ReceivedRequest request;
        if (!DecodeGetRequest(Bytes(buffer.begin(), buffer.begin() + received), &request))
            continue;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            requests_.push_back(request);
        }
        received_.notify_all();
        for (const Bytes& answer : responder_(request))
            socket_.SendTo(answer.data(), answer.size(), from, fromPort);
    }
}

void PrinterObjects::Integer(const std::string& oid, std::int32_t value, std::uint8_t tag) {
    Bytes element;
    AppendBerInteger(&element, value, tag);
    values.emplace_back(oid, element);
}

void PrinterObjects::Text(const std::string& oid, const std::string& text) {
    Bytes element;
    AppendBerBytes(&element, kBerOctetString, text.data(), text.size());
    values.emplace_back(oid, element);
}

FakeAgent::Responder PrinterObjects::Responder(const std::string& community) const {
    return [values = values, community](const ReceivedRequest& request) {
        for (const auto& [oid, element] : values)
            if (oid == request.oid)
                return std::vector<Bytes>{
                    RawResponse(community, request.requestId, 0, 0, oid, element)};
        return std::vector<Bytes>{NoSuchNameResponse(community, request.requestId, request.oid)};
    };
}

} // namespace net::testing
