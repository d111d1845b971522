#!/usr/bin/env python3
"""Writes a C++ source that holds a file's bytes and returns them from res::CompiledResources().

Usage: embed_resources.py INPUT OUTPUT_CPP

The bytes go into one string literal of three-digit octal escapes, which compilers read much
faster than a list of numbers.
"""

import os
import sys


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    with open(argv[1], "rb") as f:
        data = f.read()
    lines = []
    for start in range(0, len(data), 32):
        chunk = data[start:start + 32]
        lines.append('    "' + "".join("\\%03o" % b for b in chunk) + '"')
    body = "\n".join(lines) if lines else '    ""'
    source = f"""// Generated from {os.path.basename(argv[1])} by embed_resources.py; do not edit.
#include "res/compiled_resources.h"

#include <cstddef>

namespace res {{
namespace {{

constexpr std::size_t kSize = {len(data)};
// One byte more for the literal's terminating NUL, which is not part of the data.
alignas(4) const unsigned char kData[kSize + 1] =
{body};

}} // namespace

std::span<const unsigned char> CompiledResources() {{ return {{kData, kSize}}; }}

}} // namespace res
"""
    tmp = argv[2] + ".tmp"
    with open(tmp, "w", encoding="ascii") as f:
        f.write(source)
    os.replace(tmp, argv[2])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
