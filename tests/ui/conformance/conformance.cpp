#include "tests/ui/conformance/conformance.h"

#include "tests/ui/data/test_ids.h"
#include "ui/painter.h"

namespace ui::conformance {

std::string BackendName(const ::testing::TestParamInfo<BackendFactory>& info) {
    return info.param.name;
}

ConformanceDialog::ConformanceDialog() : Dialog(IDD_CONFORMANCE) {}

std::vector<int> ConformanceDialog::TakeCodes(int id) {
    std::vector<int> codes;
    Notifications others;
    for (const auto& [control, code] : notifications) {
        if (control == id)
            codes.push_back(code);
        else
            others.emplace_back(control, code);
    }
    notifications = std::move(others);
    return codes;
}

bool ConformanceDialog::OnInitDialog() {
    const bool result = Dialog::OnInitDialog();
    if (onInit)
        onInit(*this);
    return result;
}

void ConformanceDialog::OnNotification(int controlId, int code) {
    notifications.emplace_back(controlId, code);
    if (onNotification)
        onNotification(controlId, code);
}

MessageMap ConformanceDialog::GetMessageMap() const {
    static const MessageEntry entries[] = {
        OnDrawItem(IDC_OWNERDRAW, &ConformanceDialog::DrawOwnerButton),
        OnChoice(IDC_PLAIN_COMBO, &ConformanceDialog::RecordChoice),
    };
    return entries;
}

void ConformanceDialog::RecordChoice() {
    choices.push_back(ComboBox(GetDlgItem(IDC_PLAIN_COMBO).GetHandle()).GetCurSel());
}

void ConformanceDialog::DrawOwnerButton(DrawItem& item) {
    drawn.push_back(Drawn{item.controlId, item.selected, item.rect});
    item.painter.DrawPushButtonFrame(item.rect, item.selected);
    const Color previous = item.painter.SetTextColor(Rgb(0, 0, 255));
    item.painter.PaintText(GetDlgItemText(item.controlId), item.rect,
                           kDtCenter | kDtVCenter | kDtSingleLine);
    item.painter.SetTextColor(previous);
}

void ConformanceTest::SetUp() {
    session_ = GetParam().make();
}

void ConformanceTest::TearDown() {
    for (const std::string& failure : A().TakeFailures())
        ADD_FAILURE() << "script failure: " << failure;
    session_.reset();
}

void ConformanceTest::InDialog(const std::function<void(ConformanceDialog&)>& body) {
    ConformanceDialog dialog;
    bool ran = false;
    A().OnDialog(IDD_CONFORMANCE, [&] {
        ran = true;
        body(dialog);
        A().PressCancel();
    });
    EXPECT_EQ(dialog.DoModal(), kIdCancel);
    EXPECT_TRUE(ran);
}

} // namespace ui::conformance
