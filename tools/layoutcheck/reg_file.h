#pragma once
// A registry file as regedit exports it (REGEDIT4, such as samples/vela-demo.reg) read into an
// in-memory registry: keys under HKEY_LOCAL_MACHINE, whose paths the program's registry uses
// without the root; string, DWORD and hex values; the default value "@"; hex lines continued
// with a backslash.
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class MemoryRegistry;
}

namespace layoutcheck {

// Stores every value of the file in `registry`; `problems` gets one line for each key or value
// that could not be read (another root, a broken line), which is then left out.
void ReadRegFile(std::string_view text, platform::MemoryRegistry& registry,
                 std::vector<std::string>* problems);

} // namespace layoutcheck
