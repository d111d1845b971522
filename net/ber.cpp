#include "net/ber.h"

namespace net {

BerReader BerElement::Children() const {
    return BerReader(contents, length);
}

bool BerReader::Next(BerElement* element) {
    const std::uint8_t* p = pos_;
    if (p == nullptr || end_ - p < 2)
        return false;
    const std::uint8_t tag = *p++;
    if ((tag & 0x1F) == 0x1F)
        return false;
    std::size_t length = *p++;
    if (length & 0x80) {
        const std::size_t bytes = length & 0x7F;
        // 0x80 is the indefinite form, which SNMP does not use.
        if (bytes == 0 || bytes > 4 || static_cast<std::size_t>(end_ - p) < bytes)
            return false;
        length = 0;
        for (std::size_t i = 0; i < bytes; ++i)
            length = (length << 8) | *p++;
    }
    if (length > static_cast<std::size_t>(end_ - p))
        return false;
    element->tag = tag;
    element->contents = p;
    element->length = length;
    pos_ = p + length;
    return true;
}

bool BerReader::Expect(std::uint8_t tag, BerElement* element) {
    BerReader probe = *this;
    BerElement found;
    if (!probe.Next(&found) || found.tag != tag)
        return false;
    *element = found;
    *this = probe;
    return true;
}

bool DecodeBerInteger(const std::uint8_t* contents, std::size_t length, std::int32_t* value) {
    if (length == 0 || length > 5 || (length == 5 && contents[0] != 0))
        return false;
    // Sign extension from the first byte, then the remaining bytes; five bytes shift the
    // leading zero out.
    std::uint32_t bits = (contents[0] & 0x80) ? 0xFFFFFFFFu : 0u;
    for (std::size_t i = 0; i < length; ++i)
        bits = (bits << 8) | contents[i];
    *value = static_cast<std::int32_t>(bits);
    return true;
}

bool DecodeBerOid(const std::uint8_t* contents, std::size_t length, std::uint32_t* subIds,
                  std::size_t capacity, std::size_t* count) {
    if (length == 0 || capacity < 2)
        return false;
    std::size_t n = 0;
    bool first = true;
    std::uint64_t value = 0;
    bool open = false;
    for (std::size_t i = 0; i < length; ++i) {
        value = (value << 7) | (contents[i] & 0x7F);
        open = true;
        if (value > 0xFFFFFFFFu)
            return false;
        if (contents[i] & 0x80)
            continue;
        open = false;
        if (first) {
            const std::uint32_t head = value < 80 ? static_cast<std::uint32_t>(value / 40) : 2;
            subIds[n++] = head;
            subIds[n++] = static_cast<std::uint32_t>(value - 40u * head);
            first = false;
        } else {
            if (n == capacity)
                return false;
            subIds[n++] = static_cast<std::uint32_t>(value);
        }
        value = 0;
    }
    if (open)
        return false;
    *count = n;
    return true;
}

void AppendBerLength(std::vector<std::uint8_t>* out, std::size_t length) {
    if (length < 0x80) {
        out->push_back(static_cast<std::uint8_t>(length));
        return;
    }
    int bytes = 4;
    if (length <= 0xFFFF)
        bytes = 2;
    else if (length <= 0xFFFFFF)
        bytes = 3;
    out->push_back(static_cast<std::uint8_t>(0x80 | bytes));
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        out->push_back(static_cast<std::uint8_t>(length >> shift));
}

void AppendBerInteger(std::vector<std::uint8_t>* out, std::int32_t value, std::uint8_t tag) {
    const std::uint32_t bits = static_cast<std::uint32_t>(value);
    // Drop leading bytes while the next byte still carries the same sign.
    int bytes = 4;
    while (bytes > 1) {
        const std::uint32_t top = (bits >> (8 * (bytes - 1))) & 0xFF;
        const std::uint32_t nextSign = (bits >> (8 * (bytes - 1) - 1)) & 1;
        if ((top == 0x00 && nextSign == 0) || (top == 0xFF && nextSign == 1))
            --bytes;
        else
            break;
    }
    out->push_back(tag);
    AppendBerLength(out, static_cast<std::size_t>(bytes));
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        out->push_back(static_cast<std::uint8_t>(bits >> shift));
}

void AppendBerBytes(std::vector<std::uint8_t>* out, std::uint8_t tag, const void* data,
                    std::size_t size) {
    out->push_back(tag);
    AppendBerLength(out, size);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

void AppendBerNull(std::vector<std::uint8_t>* out) {
    out->push_back(kBerNull);
    out->push_back(0);
}

bool AppendBerOid(std::vector<std::uint8_t>* out, const std::uint32_t* subIds, std::size_t count) {
    if (count < 2 || subIds[0] >= 3 || subIds[1] >= 40)
        return false;
    std::vector<std::uint8_t> contents;
    contents.push_back(static_cast<std::uint8_t>(40 * subIds[0] + subIds[1]));
    for (std::size_t i = 2; i < count; ++i) {
        std::uint8_t groups[5];
        int n = 0;
        std::uint32_t v = subIds[i];
        do {
            groups[n++] = static_cast<std::uint8_t>(v & 0x7F);
            v >>= 7;
        } while (v != 0);
        while (n > 0) {
            --n;
            contents.push_back(static_cast<std::uint8_t>(groups[n] | (n > 0 ? 0x80 : 0)));
        }
        if (contents.size() > kBerMaxOidBytes)
            return false;
    }
    AppendBerBytes(out, kBerObjectId, contents.data(), contents.size());
    return true;
}

void AppendBerConstructed(std::vector<std::uint8_t>* out, std::uint8_t tag,
                          const std::vector<std::uint8_t>& contents) {
    AppendBerBytes(out, tag, contents.data(), contents.size());
}

} // namespace net
