#include "net/snmp_message.h"

#include <cstring>

namespace net {
namespace {

constexpr std::size_t kMaxOidDigits = 15;

bool ReadInteger(BerReader* reader, std::int32_t* value) {
    BerElement element;
    return reader->Expect(kBerInteger, &element) &&
           DecodeBerInteger(element.contents, element.length, value);
}

} // namespace

bool parseOidText(std::string_view text, SnmpOid* oid) {
    SnmpOid parsed;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '.') {
            ++i;
            continue;
        }
        std::uint64_t value = 0;
        std::size_t digits = 0;
        while (i < text.size() && text[i] != '.') {
            const char c = text[i];
            if (c < '0' || c > '9' || ++digits > kMaxOidDigits)
                return false;
            value = value * 10 + static_cast<std::uint64_t>(c - '0');
            ++i;
        }
        if (value > 0xFFFFFFFFu || parsed.count == kBerMaxOidComponents)
            return false;
        parsed.ids[parsed.count++] = static_cast<std::uint32_t>(value);
    }
    if (parsed.count < 2 || parsed.ids[0] >= 3 || parsed.ids[1] >= 40)
        return false;
    *oid = parsed;
    return true;
}

std::string FormatOidText(const SnmpOid& oid) {
    std::string text;
    for (std::size_t i = 0; i < oid.count && i < oid.ids.size(); ++i) {
        text += '.';
        text += std::to_string(oid.ids[i]);
    }
    return text;
}

bool EncodeGetRequest(std::string_view community, std::int32_t requestId, const SnmpOid& name,
                      std::vector<std::uint8_t>* out) {
    std::vector<std::uint8_t> binding;
    if (!AppendBerOid(&binding, name.ids.data(), name.count))
        return false;
    AppendBerNull(&binding);

    std::vector<std::uint8_t> bindings;
    AppendBerConstructed(&bindings, kBerSequence, binding);

    std::vector<std::uint8_t> pdu;
    AppendBerInteger(&pdu, requestId);
    AppendBerInteger(&pdu, 0);
    AppendBerInteger(&pdu, 0);
    AppendBerConstructed(&pdu, kBerSequence, bindings);

    std::vector<std::uint8_t> message;
    AppendBerInteger(&message, 0);
    AppendBerBytes(&message, kBerOctetString, community.data(), community.size());
    AppendBerConstructed(&message, kBerGetRequest, pdu);

    out->clear();
    AppendBerConstructed(out, kBerSequence, message);
    return true;
}

SnmpDecodeStatus DecodeGetResponse(const std::uint8_t* data, std::size_t size,
                                   std::string_view community, std::int32_t requestId,
                                   SnmpVarBind* varbind, std::int32_t* errorStatus,
                                   std::int32_t* errorIndex) {
    using Status = SnmpDecodeStatus;
    BerReader datagram(data, size);
    BerElement element;
    if (!datagram.Expect(kBerSequence, &element))
        return Status::kMalformed;
    BerReader message = element.Children();

    std::int32_t version = 0;
    if (!ReadInteger(&message, &version))
        return Status::kMalformed;

    if (!message.Expect(kBerOctetString, &element))
        return Status::kMalformed;
    if (element.length != community.size() ||
        (element.length != 0 && std::memcmp(element.contents, community.data(), element.length)))
        return Status::kWrongCommunity;

    if (!message.Expect(kBerGetResponse, &element))
        return Status::kMalformed;
    BerReader pdu = element.Children();
    std::int32_t answeredId = 0;
    if (!ReadInteger(&pdu, &answeredId))
        return Status::kMalformed;
    if (answeredId != requestId)
        return Status::kForeignRequestId;

    std::int32_t status = 0;
    std::int32_t index = 0;
    if (!ReadInteger(&pdu, &status) || !ReadInteger(&pdu, &index))
        return Status::kMalformed;
    if (!pdu.Expect(kBerSequence, &element))
        return Status::kMalformed;
    BerReader bindings = element.Children();
    if (!bindings.Expect(kBerSequence, &element))
        return Status::kMalformed;
    BerReader binding = element.Children();

    if (!binding.Expect(kBerObjectId, &element))
        return Status::kMalformed;
    SnmpOid name;
    if (!DecodeBerOid(element.contents, element.length, name.ids.data(), name.ids.size(),
                      &name.count))
        return Status::kMalformed;

    BerElement value;
    if (!binding.Next(&value))
        return Status::kMalformed;
    std::int32_t integer = 0;
    switch (value.tag) {
    case kBerInteger:
    case kBerCounter:
    case kBerGauge:
    case kBerTimeTicks:
        if (!DecodeBerInteger(value.contents, value.length, &integer))
            return Status::kMalformed;
        break;
    case kBerOctetString:
    case kBerSequence:
    case kBerIpAddress:
    case kBerOpaque:
    case kBerNull:
    case kBerObjectId:
        break;
    default:
        return Status::kMalformed;
    }

    varbind->Release();
    varbind->name = name;
    varbind->type = value.tag;
    varbind->integer = integer;
    if (value.tag != kBerInteger && value.tag != kBerCounter && value.tag != kBerGauge &&
        value.tag != kBerTimeTicks)
        varbind->bytes.assign(value.contents, value.contents + value.length);
    *errorStatus = status;
    *errorIndex = index;
    return Status::kOk;
}

} // namespace net
