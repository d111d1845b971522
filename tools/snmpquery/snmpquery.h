#pragma once
// snmpquery: runs the program's SNMP queries against a printer and prints what they read.
//
//   snmpquery --community C --host H [--port P] scalars
//       the scalar table: "row I ASKED table OID value V second V2" per row, then
//       "result CODE"; ASKED is the object the request names (OID with its last
//       sub-identifier replaced by the row's instance), OID the table's own text
//   snmpquery --community C --host H [--port P] walk
//       the component table: "entry K name STR level N capacity N unit STR kind N" for the 20
//       entries, then "result CODE"
//
// Texts print as "-" when absent, else in double quotes with the bytes 0x20 to 0x7E except '"'
// and '\' as themselves and every other byte as \xHH. Arguments are UTF-8; the community is
// sent in code page 1250, as the settings block holds it. The port is for tests: the program
// always asks port 161.
// Exit status: 0 the query succeeded, 1 it failed (its code is printed), 2 bad usage.
#include <iosfwd>
#include <string>
#include <vector>

#include "net/snmp_client.h"

namespace snmpquery {

inline constexpr int kExitOk = 0;
inline constexpr int kExitQueryFailed = 1;
inline constexpr int kExitUsage = 2;

// Runs one command; `args` are the arguments after the program name.
int RunSnmpQuery(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The object a request for `row` asks for, as dotted text ("-" when its text does not parse).
std::string AskedObject(const net::SnmpScalarRow& row);

// A text as the tool prints it ("-" for none).
std::string QuoteText(const char* text);

} // namespace snmpquery
