#include "net/snmp_message.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/net/agent/fake_agent.h"

namespace net {
namespace {

using testing::Bytes;

std::vector<std::uint32_t> Ids(const SnmpOid& oid) {
    return std::vector<std::uint32_t>(oid.ids.begin(), oid.ids.begin() + oid.count);
}

// Dotted text: digits and dots only, empty components skipped, limits on count and size.
TEST(ParseOidText, AcceptsDottedTextWithinLimits) {
    const struct {
        const char* text;
        bool ok;
        std::vector<std::uint32_t> ids;
    } cases[] = {
        {".1.3.6.1.4.1.480.1.1.1001.0", true, {1, 3, 6, 1, 4, 1, 480, 1, 1, 1001, 0}},
        {"1.3", true, {1, 3}},
        {"..1..3.", true, {1, 3}},
        {".2.39.4294967295", true, {2, 39, 4294967295u}},
        {".0.0", true, {0, 0}},
        {".1.3.000000000000007", true, {1, 3, 7}}, // 15 digits
        {".1.3.0000000000000007", false, {}},      // 16 digits
        {".1.3.4294967296", false, {}},            // above 32 bits
        {".1", false, {}},
        {"", false, {}},
        {"...", false, {}},
        {".3.1", false, {}},
        {".1.40", false, {}},
        {".1.3.6a", false, {}},
        {".1.3.-6", false, {}},
        {".1 .3", false, {}},
    };
    for (const auto& c : cases) {
        SnmpOid oid;
        oid.count = 99;
        EXPECT_EQ(parseOidText(c.text, &oid), c.ok) << c.text;
        if (c.ok)
            EXPECT_EQ(Ids(oid), c.ids) << c.text;
        else
            EXPECT_EQ(oid.count, 99u) << "a failed parse leaves the output: " << c.text;
    }
}

TEST(ParseOidText, AllowsAtMost128Components) {
    std::string text = ".1.3";
    for (int i = 2; i < 128; ++i)
        text += ".9";
    SnmpOid oid;
    ASSERT_TRUE(parseOidText(text, &oid));
    EXPECT_EQ(oid.count, 128u);
    EXPECT_FALSE(parseOidText(text + ".9", &oid));
}

// Dotted text back from sub-identifiers: what parses prints in its plain form.
TEST(FormatOidText, PrintsEachSubIdentifierAfterADot) {
    const struct {
        const char* text;
        const char* formatted;
    } cases[] = {
        {".1.3.6.1.4.1.480.1.304.1002.1.5", ".1.3.6.1.4.1.480.1.304.1002.1.5"},
        {"..1..3.", ".1.3"},
        {".2.39.4294967295", ".2.39.4294967295"},
        {".1.3.000000000000007", ".1.3.7"},
    };
    for (const auto& c : cases) {
        SnmpOid oid;
        ASSERT_TRUE(parseOidText(c.text, &oid)) << c.text;
        EXPECT_EQ(FormatOidText(oid), c.formatted) << c.text;
    }
    EXPECT_EQ(FormatOidText(SnmpOid()), "");
}

// The first two requests of a scalar query with an empty community, byte for byte.
TEST(EncodeGetRequest, ReproducesTheReferencePackets) {
    SnmpOid row0;
    ASSERT_TRUE(parseOidText(".1.3.6.1.4.1.480.2.1.3.1.0", &row0));
    Bytes first;
    ASSERT_TRUE(EncodeGetRequest("", 257, row0, &first));
    const Bytes expectedFirst = {0x30, 0x25, 0x02, 0x01, 0x00, 0x04, 0x00, 0xA0, 0x1E, 0x02,
                                 0x02, 0x01, 0x01, 0x02, 0x01, 0x00, 0x02, 0x01, 0x00, 0x30,
                                 0x12, 0x30, 0x10, 0x06, 0x0C, 0x2B, 0x06, 0x01, 0x04, 0x01,
                                 0x83, 0x60, 0x02, 0x01, 0x03, 0x01, 0x00, 0x05, 0x00};
    EXPECT_EQ(first, expectedFirst);

    SnmpOid row1;
    ASSERT_TRUE(parseOidText(".1.3.6.1.4.1.480.1.1.1001.0", &row1));
    Bytes second;
    ASSERT_TRUE(EncodeGetRequest("", 258, row1, &second));
    Bytes expectedSecond = expectedFirst;
    expectedSecond[12] = 0x02;
    const Bytes oid = {0x06, 0x0C, 0x2B, 0x06, 0x01, 0x04, 0x01,
                       0x83, 0x60, 0x01, 0x01, 0x87, 0x69, 0x00};
    std::copy(oid.begin(), oid.end(), expectedSecond.begin() + 23);
    EXPECT_EQ(second, expectedSecond);
}

// A community is sent as its bytes; a long name pushes the message into long-form lengths.
TEST(EncodeGetRequest, UsesLongFormLengthsForLongMessages) {
    std::string text = ".1.3";
    for (int i = 0; i < 120; ++i)
        text += ".1";
    SnmpOid oid;
    ASSERT_TRUE(parseOidText(text, &oid));
    Bytes out;
    ASSERT_TRUE(EncodeGetRequest("public", 300, oid, &out));
    // OID contents 121 bytes; binding 125, bindings 127, PDU 3+4+3+3+... > 127.
    ASSERT_GT(out.size(), 130u);
    EXPECT_EQ(out[0], 0x30);
    EXPECT_EQ(out[1], 0x82);
    EXPECT_EQ(static_cast<std::size_t>(out[2] << 8 | out[3]), out.size() - 4);
    EXPECT_EQ(Bytes(out.begin() + 4, out.begin() + 15),
              Bytes({0x02, 0x01, 0x00, 0x04, 0x06, 'p', 'u', 'b', 'l', 'i', 'c'}));
    testing::ReceivedRequest request;
    ASSERT_TRUE(testing::DecodeGetRequest(out, &request));
    EXPECT_EQ(request.requestId, 300);
    EXPECT_EQ(request.community, "public");
}

struct Decoded {
    SnmpDecodeStatus status;
    SnmpVarBind varbind;
    std::int32_t errorStatus = -7;
    std::int32_t errorIndex = -7;
};

// Decodes from a heap copy of exactly the datagram's size, so a read past it is caught.
Decoded Decode(const Bytes& datagram, const std::string& community = "public",
               std::int32_t requestId = 257) {
    Decoded result;
    std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[datagram.size() + 1]);
    std::copy(datagram.begin(), datagram.end(), copy.get());
    result.status = DecodeGetResponse(copy.get(), datagram.size(), community, requestId,
                                      &result.varbind, &result.errorStatus, &result.errorIndex);
    return result;
}

const char kOid[] = ".1.3.6.1.4.1.480.1.304.1010.0";

// The value's tag decides how it is kept; the varbind's type is that tag.
TEST(DecodeGetResponse, KeepsValuesByTag) {
    using testing::BytesResponse;
    using testing::IntegerResponse;
    const struct {
        Bytes datagram;
        std::uint8_t type;
        std::int32_t integer;
        Bytes bytes;
    } cases[] = {
        {IntegerResponse("public", 257, kOid, 5), kBerInteger, 5, {}},
        {IntegerResponse("public", 257, kOid, -3), kBerInteger, -3, {}},
        {IntegerResponse("public", 257, kOid, 6000, kBerGauge), kBerGauge, 6000, {}},
        {IntegerResponse("public", 257, kOid, 9, kBerCounter), kBerCounter, 9, {}},
        {IntegerResponse("public", 257, kOid, 100, kBerTimeTicks), kBerTimeTicks, 100, {}},
        {BytesResponse("public", 257, kOid, {'a', 0, 'b'}), kBerOctetString, 0, {'a', 0, 'b'}},
        {BytesResponse("public", 257, kOid, {}), kBerOctetString, 0, {}},
        {BytesResponse("public", 257, kOid, {10, 0, 0, 1}, kBerIpAddress),
         kBerIpAddress,
         0,
         {10, 0, 0, 1}},
        {BytesResponse("public", 257, kOid, {1}, kBerOpaque), kBerOpaque, 0, {1}},
        {BytesResponse("public", 257, kOid, {0x2B, 6}, kBerObjectId), kBerObjectId, 0, {0x2B, 6}},
        {testing::NoSuchNameResponse("public", 257, kOid), kBerNull, 0, {}},
    };
    for (const auto& c : cases) {
        const Decoded d = Decode(c.datagram);
        ASSERT_EQ(d.status, SnmpDecodeStatus::kOk) << ::testing::PrintToString(c.datagram);
        EXPECT_EQ(d.varbind.type, c.type);
        EXPECT_EQ(d.varbind.integer, c.integer);
        EXPECT_EQ(d.varbind.bytes, c.bytes);
        EXPECT_EQ(Ids(d.varbind.name),
                  std::vector<std::uint32_t>({1, 3, 6, 1, 4, 1, 480, 1, 304, 1010, 0}));
    }
    const Decoded error = Decode(testing::NoSuchNameResponse("public", 257, kOid));
    EXPECT_EQ(error.errorStatus, 2);
    EXPECT_EQ(error.errorIndex, 1);
}

// The checks come in order: structure, community, PDU, request-id, rest.
TEST(DecodeGetResponse, ReportsCommunityRequestIdAndMalformedAnswers) {
    using testing::RawResponse;
    Bytes nullValue;
    AppendBerNull(&nullValue);
    const Bytes good = testing::IntegerResponse("public", 257, kOid, 1);
    Bytes badValueTag = {0x80, 0x00}; // a version 2 exception
    Bytes cutInteger = {0x02, 0x00};
    const struct {
        const char* what;
        Bytes datagram;
        const char* community;
        SnmpDecodeStatus status;
    } cases[] = {
        {"another community", good, "private", SnmpDecodeStatus::kWrongCommunity},
        {"empty community expected", good, "", SnmpDecodeStatus::kWrongCommunity},
        {"another request-id", testing::IntegerResponse("public", 256, kOid, 1), "public",
         SnmpDecodeStatus::kForeignRequestId},
        {"GetRequest instead of GetResponse",
         RawResponse("public", 257, 0, 0, kOid, nullValue, kBerGetRequest), "public",
         SnmpDecodeStatus::kMalformed},
        {"unknown value tag", RawResponse("public", 257, 0, 0, kOid, badValueTag), "public",
         SnmpDecodeStatus::kMalformed},
        {"integer without contents", RawResponse("public", 257, 0, 0, kOid, cutInteger), "public",
         SnmpDecodeStatus::kMalformed},
        {"empty datagram", {}, "public", SnmpDecodeStatus::kMalformed},
        {"not a sequence", {0x04, 0x00}, "public", SnmpDecodeStatus::kMalformed},
        {"request-id without contents",
         Bytes({0x30, 0x0F, 0x02, 0x01, 0x00, 0x04, 0x06, 'p', 'u', 'b', 'l', 'i', 'c', 0xA2, 0x02,
                0x02, 0x00}),
         "public", SnmpDecodeStatus::kMalformed},
        {"a foreign request-id is dropped before the broken rest is read",
         Bytes({0x30, 0x12, 0x02, 0x01, 0x00, 0x04, 0x06, 'p',  'u',  'b',
                'l',  'i',  'c',  0xA2, 0x05, 0x02, 0x02, 0x01, 0x00, 0xFF}),
         "public", SnmpDecodeStatus::kForeignRequestId},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Decode(c.datagram, c.community).status, c.status) << c.what;
    // The same datagram with an empty community matches an empty session community.
    EXPECT_EQ(Decode(testing::IntegerResponse("", 257, kOid, 1), "").status, SnmpDecodeStatus::kOk);
}

// Every cut of a good answer is refused without reading past the cut.
TEST(DecodeGetResponse, RefusesEveryTruncation) {
    const Bytes good = testing::BytesResponse("public", 257, kOid, Bytes(40, 'x'));
    ASSERT_EQ(Decode(good).status, SnmpDecodeStatus::kOk);
    for (std::size_t n = 0; n < good.size(); ++n) {
        const Bytes cut(good.begin(), good.begin() + n);
        EXPECT_EQ(Decode(cut).status, SnmpDecodeStatus::kMalformed) << n;
    }
}

// A length inside the message that claims more than its parent holds is refused, even when
// the datagram has the bytes after the parent.
TEST(DecodeGetResponse, RefusesLengthsBeyondTheirParent) {
    Bytes datagram = testing::BytesResponse("public", 257, kOid, {'a', 'b'});
    datagram.insert(datagram.end(), 20, 'z');
    // The value's length byte is the third from the value's end: "04 02 'a' 'b'".
    const std::size_t valueLength = datagram.size() - 20 - 3;
    ASSERT_EQ(datagram[valueLength], 0x02);
    datagram[valueLength] = 0x10;
    EXPECT_EQ(Decode(datagram).status, SnmpDecodeStatus::kMalformed);
}

// An answer longer than 127 bytes (long-form lengths) decodes like a short one.
TEST(DecodeGetResponse, DecodesLongFormAnswers) {
    const Bytes text(300, 'T');
    const Bytes datagram = testing::BytesResponse("public", 257, kOid, text);
    ASSERT_GT(datagram.size(), 300u);
    EXPECT_EQ(datagram[1], 0x82);
    const Decoded d = Decode(datagram);
    ASSERT_EQ(d.status, SnmpDecodeStatus::kOk);
    EXPECT_EQ(d.varbind.bytes, text);
    EXPECT_EQ(d.errorStatus, 0);
}

} // namespace
} // namespace net
