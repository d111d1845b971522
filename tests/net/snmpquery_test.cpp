#include "tools/snmpquery/snmpquery.h"

#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/net/agent/fake_agent.h"

namespace snmpquery {
namespace {

using net::testing::FakeAgent;
using net::testing::PrinterObjects;

// Printable ASCII as itself except quote and backslash; everything else as upper-case \xHH.
TEST(SnmpQueryText, QuotesLikeTheOtherTools) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {nullptr, "-"},
        {"", "\"\""},
        {"Black Toner 1", "\"Black Toner 1\""},
        {"a\"b\\c", "\"a\\x22b\\x5Cc\""},
        {"\x1F~\x7F", "\"\\x1F~\\x7F\""},
        {"Odpadov\xE1 n\xE1"
         "doba",
         "\"Odpadov\\xE1 n\\xE1doba\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QuoteText(c.text), c.expected) << c.expected;
}

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

ToolRun RunTool(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunSnmpQuery(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(SnmpQueryCommand, RefusesBadUsage) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"scalars"},
        {"--host", "127.0.0.1", "scalars"},
        {"--community", "public", "scalars"},
        {"--community", "public", "--host", "127.0.0.1"},
        {"--community", "public", "--host", "127.0.0.1", "get"},
        {"--community", "public", "--host", "127.0.0.1", "--port", "0", "walk"},
        {"--community", "public", "--host", "127.0.0.1", "--port", "65536", "walk"},
        {"--community", "public", "--host", "127.0.0.1", "--port", "16x", "walk"},
        {"--community", "public", "--host", "127.0.0.1", "walk", "scalars"},
        {"--community", "public", "--host"},
    };
    for (const auto& args : cases) {
        const ToolRun run = RunTool(args);
        EXPECT_EQ(run.status, kExitUsage) << ::testing::PrintToString(args);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err, "");
    }
}

// Each scalar row prints the object its request named, then the table's own text: rows 7 and
// 8 ask for another instance than their text ends in. The objects printed are those the agent
// received, in order.
TEST(SnmpQueryCommand, PrintsScalarRowsAndTheResult) {
    PrinterObjects printer;
    printer.Integer(".1.3.6.1.4.1.480.1.1.1010.0", 1);
    printer.Integer(".1.3.6.1.4.1.480.1.304.1010.0", 2);
    printer.Integer(".1.3.6.1.4.1.480.1.304.1002.1.5", 3);
    FakeAgent agent(printer.Responder(""));
    ASSERT_TRUE(agent.ok());
    const ToolRun run = RunTool({"--community", "", "--host", "127.0.0.1", "--port",
                                 std::to_string(agent.port()), "scalars"});
    EXPECT_EQ(run.status, kExitOk);
    EXPECT_EQ(
        run.out,
        "row 0 .1.3.6.1.4.1.480.2.1.3.1.0 table .1.3.6.1.4.1.480.2.1.3.1.0 value -1 second -1\n"
        "row 1 .1.3.6.1.4.1.480.1.1.1001.0 table .1.3.6.1.4.1.480.1.1.1001.0 value -1 second "
        "-1\n"
        "row 2 .1.3.6.1.4.1.480.1.1.1010.0 table .1.3.6.1.4.1.480.1.1.1010.0 value 1 second -1\n"
        "row 3 .1.3.6.1.4.1.480.1.1.1011.0 table .1.3.6.1.4.1.480.1.1.1011.0 value -1 second "
        "-1\n"
        "row 4 .1.3.6.1.4.1.480.1.304.12.0 table .1.3.6.1.4.1.480.1.304.12.0 value -1 second "
        "-1\n"
        "row 5 .1.3.6.1.4.1.480.1.304.1015.0 table .1.3.6.1.4.1.480.1.304.1015.0 value -1 "
        "second -1\n"
        "row 6 .1.3.6.1.4.1.480.1.304.1010.0 table .1.3.6.1.4.1.480.1.304.1010.0 value 2 "
        "second -1\n"
        "row 7 .1.3.6.1.4.1.480.1.304.1002.1.5 table .1.3.6.1.4.1.480.1.304.1002.1.0 value 3 "
        "second -1\n"
        "row 8 .1.3.6.1.4.1.480.2.1.1.4.1.0 table .1.3.6.1.4.1.480.2.1.1.4.1.5 value -1 "
        "second -1\n"
        "result 0\n");
    const std::vector<net::testing::ReceivedRequest> received = agent.requests();
    ASSERT_EQ(received.size(), net::kScalarRowCount);
    std::istringstream lines(run.out);
    for (const auto& request : received) {
        std::string row, index, asked;
        lines >> row >> index >> asked;
        lines.ignore(1000, '\n');
        EXPECT_EQ(asked, request.oid) << "row " << index;
    }
}

// The object of a request: the text with its last sub-identifier replaced by the instance.
TEST(SnmpQueryText, AskedObjectReplacesTheLastSubIdentifier) {
    const struct {
        const char* oid;
        std::int32_t instance;
        const char* asked;
    } cases[] = {
        {".1.3.6.1.4.1.480.1.304.1002.1.0", 5, ".1.3.6.1.4.1.480.1.304.1002.1.5"},
        {".1.3.6.1.4.1.480.2.1.1.4.1.5", 0, ".1.3.6.1.4.1.480.2.1.1.4.1.0"},
        {".1.3.6.1.4.1.480.1.1.1001.0", 0, ".1.3.6.1.4.1.480.1.1.1001.0"},
        {"1..3.7", 101, ".1.3.101"},
        {".1.3.7", -1, ".1.3.4294967295"},
        {".1.3.x", 0, "-"},
        {nullptr, 0, "-"},
    };
    for (const auto& c : cases) {
        net::SnmpScalarRow row;
        row.oid = c.oid;
        row.instance = c.instance;
        EXPECT_EQ(AskedObject(row), c.asked) << (c.oid ? c.oid : "null");
    }
}

TEST(SnmpQueryCommand, PrintsTwentyEntriesAndTheFailure) {
    // Components 1 and 2 answer; then the agent falls silent.
    FakeAgent agent([](const net::testing::ReceivedRequest& r) {
        if (r.oid == ".1.3.6.1.4.1.480.1.304.1000.1.1")
            return std::vector<net::testing::Bytes>{
                net::testing::BytesResponse("public", r.requestId, r.oid, {'T', 0xE1, '"'})};
        return std::vector<net::testing::Bytes>{};
    });
    ASSERT_TRUE(agent.ok());
    const ToolRun run = RunTool({"--port", std::to_string(agent.port()), "--community", "public",
                                 "--host", "127.0.0.1", "walk"});
    EXPECT_EQ(run.status, kExitQueryFailed);
    std::istringstream lines(run.out);
    std::vector<std::string> got;
    for (std::string line; std::getline(lines, line);)
        got.push_back(line);
    ASSERT_EQ(got.size(), 21u);
    EXPECT_EQ(got[0], "entry 0 name \"T\\xE1\\x22\" level 0 capacity 0 unit \"\" kind 0");
    EXPECT_EQ(got[19], "entry 19 name \"\" level 0 capacity 0 unit \"\" kind 0");
    EXPECT_EQ(got[20], "result 4102");
}

} // namespace
} // namespace snmpquery
