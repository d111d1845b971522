// The SNMP client against net-snmp's snmpd (started by snmpd/with-snmpd) serving the printer's
// objects from snmpd/printer-agent.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "net/snmp_client.h"

namespace net {
namespace {

const char kHost[] = "127.0.0.1";

class SnmpdTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* port = std::getenv("VELA_SNMPD_PORT");
        if (port == nullptr)
            GTEST_SKIP() << "run through tests/net/snmpd/with-snmpd";
        options_.port = static_cast<std::uint16_t>(std::atoi(port));
    }
    SnmpOptions options_;
};

// Integers answer rows; a Gauge, a string and an unknown object do not.
TEST_F(SnmpdTest, ReadsTheScalars) {
    SnmpScalarTable table = ScalarTable();
    ASSERT_EQ(snmpGetScalars("public", kHost, table.data(), options_), kSnmpOk);
    const std::int32_t expected[kScalarRowCount] = {1, -1, 1, 2, 1, -1, 5, -1, -1};
    for (std::size_t i = 0; i < kScalarRowCount; ++i) {
        EXPECT_EQ(table[i].value, expected[i]) << "row " << i;
        EXPECT_EQ(table[i].secondValue, -1) << "row " << i;
    }
}

// Instances 1-3 and 51-52 fill entries 0 to 4 in that order.
TEST_F(SnmpdTest, WalksTheComponentTable) {
    const SnmpColumnTable columns = ColumnTable();
    ComponentEntries entries;
    ASSERT_EQ(snmpWalkSupplies("public", kHost, columns.data(), &entries, options_), kSnmpOk);
    const struct {
        const char* name;
        std::int32_t level;
        std::int32_t capacity;
        const char* unit;
        std::int32_t kind;
    } expected[] = {
        {"Black Toner", 1800, 6000, "pages", 4},
        {"optional1", 250, 500, "sheets", 2},
        {"Fuser", 100, 0, "", 6},
        {"Odpadov\xE1 n\xE1"
         "doba",
         20, 100, "%", 7},
        {"envelope", -1, 0, "sheets", 1},
    };
    for (std::size_t k = 0; k < kComponentEntryCount; ++k) {
        const ComponentEntry& e = entries[k];
        if (k < std::size(expected)) {
            EXPECT_STREQ(e.name, expected[k].name) << k;
            EXPECT_EQ(e.level, expected[k].level) << k;
            EXPECT_EQ(e.capacity, expected[k].capacity) << k;
            EXPECT_STREQ(e.unitText, expected[k].unit) << k;
            EXPECT_EQ(e.kind, expected[k].kind) << k;
        } else {
            EXPECT_STREQ(e.name, "") << k;
            EXPECT_EQ(e.kind, 0) << k;
        }
    }
}

// snmpd ignores a version 1 request with an unknown community: five sends, then no answer.
TEST_F(SnmpdTest, GetsNoAnswerForAnotherCommunity) {
    options_.replyTimeoutMs = 50;
    SnmpScalarTable table = ScalarTable();
    EXPECT_EQ(snmpGetScalars("private", kHost, table.data(), options_), kSnmpNoAnswer);
    EXPECT_EQ(table[0].value, -1);
}

} // namespace
} // namespace net
