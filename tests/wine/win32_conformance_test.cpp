// The control conformance suite on real Win32 controls (comctl32 6 under Wine).
#include "tests/ui/conformance/conformance.h"
#include "ui/win32/win32_automation.h"

namespace ui::conformance {
namespace {

class Win32Session : public Session {
public:
    Automation& automation() override { return automation_; }

private:
    win32::Win32Automation automation_;
};

std::unique_ptr<Session> MakeWin32() {
    return std::make_unique<Win32Session>();
}

const BackendFactory kWin32{"Win32", &MakeWin32};

INSTANTIATE_TEST_SUITE_P(Win32, ControlConformance, ::testing::Values(kWin32), BackendName);
INSTANTIATE_TEST_SUITE_P(Win32, SheetConformance, ::testing::Values(kWin32), BackendName);

} // namespace
} // namespace ui::conformance
