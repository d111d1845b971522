#pragma once
// The registry implementations that suites run against: the in-memory one everywhere and, in
// the Windows build, the real registry too, each test below a key of its own.
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/memory_registry.h"
#include "platform/registry.h"
#ifdef _WIN32
#include "platform/win32/win32_registry.h"
#endif

namespace platform {

struct Subject {
    const char* name;
    std::unique_ptr<Registry> (*make)();
    void (*cleanUp)(Registry& registry, const std::string& root);
    bool (*sortsValues)();
};

inline void PrintTo(const Subject& subject, std::ostream* out) {
    *out << subject.name;
}

inline std::vector<Subject> Subjects() {
    std::vector<Subject> subjects;
    subjects.push_back(Subject{
        "Memory", [] { return std::unique_ptr<Registry>(std::make_unique<MemoryRegistry>()); },
        [](Registry&, const std::string&) {}, [] { return false; }});
#ifdef _WIN32
    subjects.push_back(Subject{
        "Win32", [] { return std::unique_ptr<Registry>(std::make_unique<Win32Registry>()); },
        [](Registry& registry, const std::string& root) {
            auto& win32 = static_cast<Win32Registry&>(registry);
            EXPECT_EQ(win32.DeleteTree(root), kRegistryOk);
            win32.DeleteKey("Software\\VelaTests"); // only when no other run still uses it
        },
        &RunningUnderWine});
#endif
    return subjects;
}

// A key path of its own for one test, below "Software\VelaTests".
inline std::string UniqueTestRoot() {
    static unsigned counter = 0;
    std::random_device random;
    return "Software\\VelaTests\\" + std::to_string(random()) + "-" + std::to_string(++counter);
}

// The subject's name as the test's parameter name.
inline std::string SubjectName(const testing::TestParamInfo<Subject>& info) {
    return info.param.name;
}

} // namespace platform
