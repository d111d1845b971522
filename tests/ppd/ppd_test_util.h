#pragma once
// Helpers shared by the PPD model tests.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "ppd/ppd.h"

namespace ppd::test {

struct DocumentDeleter {
    void operator()(const PpdDocument* doc) const { FreePpdDocument(doc); }
};
using DocumentPtr = std::unique_ptr<const PpdDocument, DocumentDeleter>;

inline DocumentPtr Parse(std::string_view text, const ParseOptions& options = {}) {
    return DocumentPtr(ParsePpdBytes(text.data(), text.size(), "test.ppd", options));
}

// A string of the document as a std::string, "<absent>" when absent.
inline std::string Str(const char* text) {
    return text != nullptr ? std::string(text) : std::string("<absent>");
}

inline constexpr Fixed Pt(double points) {
    return static_cast<Fixed>(points * 256);
}

inline std::string DataPath(const char* name) {
    return std::string(VELA_SOURCE_DIR) + "/tests/ppd/data/" + name;
}

} // namespace ppd::test
