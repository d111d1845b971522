// The control conformance suite on the headless backend.
#include "tests/ui/conformance/conformance.h"
#include "tests/ui/test_resources.h"
#include "ui/backend.h"
#include "ui/headless/headless_backend.h"

namespace ui::conformance {
namespace {

class HeadlessSession : public Session {
public:
    HeadlessSession() : backend_(testing::TestResources()), scope_(backend_) {
        backend_.SetThrowOnFailure(false);
    }
    Automation& automation() override { return backend_; }

private:
    headless::HeadlessBackend backend_;
    ScopedBackend scope_;
};

std::unique_ptr<Session> MakeHeadless() {
    return std::make_unique<HeadlessSession>();
}

const BackendFactory kHeadless{"Headless", &MakeHeadless};

INSTANTIATE_TEST_SUITE_P(Headless, ControlConformance, ::testing::Values(kHeadless), BackendName);
INSTANTIATE_TEST_SUITE_P(Headless, SheetConformance, ::testing::Values(kHeadless), BackendName);

} // namespace
} // namespace ui::conformance
