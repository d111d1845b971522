#pragma once
// What a PPD author must know about how this program reads a file.
#include <cstddef>
#include <string>

namespace ppdcheck {

// Appends one line per finding to `out`; returns the number of findings.
std::size_t Lint(const unsigned char* data, std::size_t size, const std::string& path,
                 std::string& out);

} // namespace ppdcheck
