#pragma once
// The control conformance suite: one set of test bodies that runs against every backend
// (natively on the headless backend; under Wine also on real Win32 controls). Each backend's
// test program instantiates ControlConformance and SheetConformance with its sessions.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "ui/automation.h"
#include "ui/dialog.h"

namespace ui::conformance {

// One backend installed for a test, and the automation of its windows.
class Session {
public:
    virtual ~Session() = default;
    virtual Automation& automation() = 0;
};

struct BackendFactory {
    const char* name;
    std::unique_ptr<Session> (*make)();
};

std::string BackendName(const ::testing::TestParamInfo<BackendFactory>& info);

using Notifications = std::vector<std::pair<int, int>>; // (control id, notification code)

// The conformance dialog: records every notification and draws its owner-drawn button.
class ConformanceDialog : public Dialog {
public:
    ConformanceDialog();

    Notifications notifications;
    // Extra behaviour of a test, run after a notification has been recorded.
    std::function<void(int id, int code)> onNotification;
    // What OnInitDialog saw and does.
    std::function<void(ConformanceDialog&)> onInit;
    struct Drawn {
        int controlId = 0;
        bool selected = false;
        Rect rect;
    };
    std::vector<Drawn> drawn;
    // The selection of the plain combo box at each choice the framework reported (OnChoice).
    std::vector<int> choices;

    // The notifications of one control, in order, taken out of the record.
    std::vector<int> TakeCodes(int id);

protected:
    bool OnInitDialog() override;
    void OnNotification(int controlId, int code) override;
    MessageMap GetMessageMap() const override;

private:
    void DrawOwnerButton(DrawItem& item);
    void RecordChoice();
};

class ConformanceTest : public ::testing::TestWithParam<BackendFactory> {
protected:
    void SetUp() override;
    void TearDown() override;
    Automation& A() { return session_->automation(); }
    // Runs the conformance dialog; `body` acts inside it, then the dialog is cancelled.
    void InDialog(const std::function<void(ConformanceDialog&)>& body);

    std::unique_ptr<Session> session_;
};

class ControlConformance : public ConformanceTest {};
class SheetConformance : public ConformanceTest {};

} // namespace ui::conformance
