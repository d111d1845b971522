// snmpquery's entry point: arguments as UTF-8, lines ending in a bare line feed on every system.
#include <iostream>
#include <string>
#include <vector>

#include "tools/snmpquery/snmpquery.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <stdio.h>

#include "platform/codepage1250.h"

// The wide command line, so that arguments outside the ANSI code page arrive intact.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(platform::Utf16ToUtf8(reinterpret_cast<const char16_t*>(argv[i])));
    _setmode(_fileno(stdout), _O_BINARY);
    return snmpquery::RunSnmpQuery(args, std::cout, std::cerr);
}
#else
int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return snmpquery::RunSnmpQuery(args, std::cout, std::cerr);
}
#endif
