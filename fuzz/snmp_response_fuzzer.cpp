// Feeds arbitrary datagrams to the GetResponse decoder, as a printer (or anything else on the
// network) could send them. The first byte picks the request-id the decoder expects, so that
// both the foreign-id and the full decoding paths are reached.
#include <cstddef>
#include <cstdint>

#include "net/snmp_message.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::int32_t requestId = data[0] & 1 ? 257 : 1;
    net::SnmpVarBind varbind;
    std::int32_t errorStatus = 0;
    std::int32_t errorIndex = 0;
    const net::SnmpDecodeStatus status = net::DecodeGetResponse(
        data + 1, size - 1, "public", requestId, &varbind, &errorStatus, &errorIndex);
    // A decoded string value never holds more than the datagram did.
    if (status == net::SnmpDecodeStatus::kOk && varbind.bytes.size() > size)
        __builtin_trap();
    return 0;
}
