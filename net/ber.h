#pragma once
// BER (X.690) encoding and decoding of the elements that SNMP version 1 messages use, with
// definite lengths only. Decoding goes through BerReader, a cursor that never leaves the bytes
// it was given: every element's contents lie inside its parent, or the read fails.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace net {

// The one-byte tags of SNMP version 1.
enum BerTag : std::uint8_t {
    kBerInteger = 0x02,
    kBerOctetString = 0x04,
    kBerNull = 0x05,
    kBerObjectId = 0x06,
    kBerSequence = 0x30,
    kBerIpAddress = 0x40,
    kBerCounter = 0x41,
    kBerGauge = 0x42,
    kBerTimeTicks = 0x43,
    kBerOpaque = 0x44,
    kBerGetRequest = 0xA0,
    kBerGetResponse = 0xA2,
};

// An object identifier holds at most this many sub-identifiers, and its encoded contents at
// most kBerMaxOidBytes bytes.
constexpr std::size_t kBerMaxOidComponents = 128;
constexpr std::size_t kBerMaxOidBytes = 128;

class BerReader;

// One decoded element: its tag and where its contents lie.
struct BerElement {
    std::uint8_t tag = 0;
    const std::uint8_t* contents = nullptr;
    std::size_t length = 0;

    // A reader over the element's contents (a constructed element's children).
    BerReader Children() const;
};

class BerReader {
public:
    BerReader() = default;
    BerReader(const std::uint8_t* data, std::size_t size) : pos_(data), end_(data + size) {}

    bool AtEnd() const { return pos_ == end_; }
    std::size_t remaining() const { return static_cast<std::size_t>(end_ - pos_); }

    // Reads the next element and moves past it. False, with the cursor unchanged, when the
    // header is cut, the tag uses the multi-byte form, the length is indefinite or needs more
    // than 4 bytes, or the contents would run past the end.
    bool Next(BerElement* element);
    // Next, and also false when the element's tag is not `tag`.
    bool Expect(std::uint8_t tag, BerElement* element);

private:
    const std::uint8_t* pos_ = nullptr;
    const std::uint8_t* end_ = nullptr;
};

// INTEGER, Counter, Gauge and TimeTicks contents as a 32-bit signed value: big-endian two's
// complement sign-extended from the first byte. Five bytes are taken when the first is 0 (an
// unsigned value of 2^31 or more; the low 32 bits are kept). False for no bytes or a value that
// needs more than 32 bits.
bool DecodeBerInteger(const std::uint8_t* contents, std::size_t length, std::int32_t* value);

// OBJECT IDENTIFIER contents into sub-identifiers (the first byte gives two). False when the
// contents are empty, a sub-identifier is cut or exceeds 32 bits, or more than `capacity`
// sub-identifiers would result.
bool DecodeBerOid(const std::uint8_t* contents, std::size_t length, std::uint32_t* subIds,
                  std::size_t capacity, std::size_t* count);

// Encoders append whole elements (or a length) to `out`.

// Short form below 128; otherwise 0x82, 0x83 or 0x84 and as many bytes (0x81 is never written).
void AppendBerLength(std::vector<std::uint8_t>* out, std::size_t length);
// Minimal two's complement contents.
void AppendBerInteger(std::vector<std::uint8_t>* out, std::int32_t value,
                      std::uint8_t tag = kBerInteger);
void AppendBerBytes(std::vector<std::uint8_t>* out, std::uint8_t tag, const void* data,
                    std::size_t size);
void AppendBerNull(std::vector<std::uint8_t>* out);
// False, with `out` unchanged, when there are fewer than two sub-identifiers, the first is 3 or
// more or the second 40 or more, or the contents would exceed kBerMaxOidBytes.
bool AppendBerOid(std::vector<std::uint8_t>* out, const std::uint32_t* subIds, std::size_t count);
// Wraps already encoded `contents` in a constructed element.
void AppendBerConstructed(std::vector<std::uint8_t>* out, std::uint8_t tag,
                          const std::vector<std::uint8_t>& contents);

} // namespace net
