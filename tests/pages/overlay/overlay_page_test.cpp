// The Overlay page on the headless backend: the five slots and their controls, the 8.3 and
// number checks (one message per failed entry, none while the page loads, every enabled field
// checked on leaving whether edited or sent so, never a disabled one), the page showing what
// its handlers write and sending what it shows, the disk and no-disk states, and the watermark
// list with its fallbacks, add, edit and delete around the editor.
#include "pages/overlay/overlay_page.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "pages/about/about_page.h"
#include "pages/overlay/watermark_reset.h"
#include "pages/shared/download_manager.h"
#include "pages/shared/out_of_range_message.h"
#include "platform/program_launcher.h"
#include "tests/pages/overlay/overlay_test_support.h"
#include "tests/pages/page_test_support.h"

namespace pages {
namespace {

using namespace testing;
using ::testing::ElementsAre;
using ui::headless::TestHost;

const std::string kRange = Cp1250(u8"Hodnota je mimo rozsahu. Mala by byť medzi 1 a 99");

// Check box, name edit and device list of each slot belong to it; nothing else does.
TEST(OverlaySlots, ControlsAndNumbers) {
    const struct {
        int id;
        int slot;
    } cases[] = {
        {IDC_OVERLAY_ALL_ENABLE, 0},  {IDC_OVERLAY_FIRST_NAME, 1},
        {IDC_OVERLAY_EVEN_DEVICE, 2}, {IDC_OVERLAY_ODD_ENABLE, 3},
        {IDC_OVERLAY_CYCLIC_NAME, 4}, {IDC_OVERLAY_CYCLE_FIRST, -1},
        {IDC_WATERMARK_LIST, -1},     {0, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OverlaySlotOfControl(c.id), c.slot) << c.id;
    const struct {
        const char* text;
        std::optional<int> value;
    } numbers[] = {{"1", 1}, {"99", 99}, {"07", 7},  {"0", {}},          {"100", {}},
                   {"", {}}, {"-5", {}}, {"5x", {}}, {"99999999999", {}}};
    for (const auto& n : numbers)
        EXPECT_EQ(CyclicNumber(n.text), n.value) << n.text;
}

class OverlayPageTest : public ::testing::Test {
protected:
    OverlayPageTest() {
        app::PrinterSettingsBlock& b = app.block();
        app::ApplyNewBlockDefaults(b);
        b.setDiskInstalled(1);
    }

    int Run(const std::function<void()>& body) { return RunPage(host, page, body); }
    int ActiveIndex() { return page.GetSheet()->GetActiveIndex(); }
    // Leaves the page for the next one; true when the page let go.
    bool Leave() {
        host.SelectPage(1);
        return ActiveIndex() == 1;
    }
    void SetSlot(int slot, std::int16_t enabled, const char* name, std::int16_t device) {
        app::PrinterSettingsBlock& b = app.block();
        b.setOverlayEnabled(slot, enabled);
        b.setOverlayFileName(slot, name);
        b.setOverlayDevice(slot, device);
    }
    std::string OverlayBytes() {
        return std::string(reinterpret_cast<const char*>(app.block().data()) + 747, 89);
    }
    std::vector<std::string> Messages() {
        std::vector<std::string> texts;
        for (const ui::MessageBoxCall& call : host.MessageBoxes())
            texts.push_back(call.text);
        return texts;
    }

    AppState app;
    TestHost host;
    COverlay page;
};

// Loading: every slot from the block, devices in table order with their codes; with the disk
// the slots' controls follow their check boxes, which write at once, as the lists do.
TEST_F(OverlayPageTest, SlotsFromTheBlock) {
    SetSlot(app::kOverlayAllPages, 1, "LOGO.OVL", 3);
    SetSlot(app::kOverlayEvenPages, 0, "EVEN.OVL", 0);
    SetSlot(app::kOverlayCyclic, 1, "CYC.OVL", 42); // a device the table lacks
    app.block().setOverlayCyclicPeriod(12);
    Run([&] {
        EXPECT_THAT(host.Items(IDC_OVERLAY_ALL_DEVICE),
                    ElementsAre("SYS:", "DSK0:", "DSK1:", "DSK2:", "DSK3:", "DSK4:", "DSK5:",
                                "DSK6:", "DSK7:", "DSK8:", "DSK9:"));
        EXPECT_THAT(host.ItemData(IDC_OVERLAY_ODD_DEVICE),
                    ElementsAre(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10));
        EXPECT_EQ(host.SelectedText(IDC_OVERLAY_ALL_DEVICE), "DSK2:");
        EXPECT_EQ(host.SelectedText(IDC_OVERLAY_CYCLIC_DEVICE), "SYS:");
        EXPECT_EQ(host.Text(IDC_OVERLAY_EVEN_NAME), "EVEN.OVL");
        EXPECT_EQ(host.Text(IDC_OVERLAY_CYCLE_PERIOD), "12");
        EXPECT_TRUE(host.IsEnabled(IDC_OVERLAY_ALL_NAME));
        EXPECT_FALSE(host.IsEnabled(IDC_OVERLAY_EVEN_DEVICE));
        EXPECT_TRUE(host.IsEnabled(IDC_OVERLAY_CYCLE_FIRST));

        host.Click(IDC_OVERLAY_EVEN_ENABLE);
        EXPECT_EQ(app.block().overlayEnabled(app::kOverlayEvenPages), 1);
        EXPECT_TRUE(host.IsEnabled(IDC_OVERLAY_EVEN_NAME));
        host.ChooseItem(IDC_OVERLAY_EVEN_DEVICE, "DSK3:");
        EXPECT_EQ(app.block().overlayDevice(app::kOverlayEvenPages), 4);
        host.PressListKey(IDC_OVERLAY_ALL_DEVICE, ui::Automation::ListKey::Home);
        EXPECT_EQ(app.block().overlayDevice(app::kOverlayAllPages), 0);
        host.Click(IDC_OVERLAY_CYCLIC_ENABLE);
        EXPECT_EQ(app.block().overlayEnabled(app::kOverlayCyclic), 0);
        EXPECT_FALSE(host.IsEnabled(IDC_OVERLAY_CYCLE_PERIOD_SPIN));
        EXPECT_TRUE(Leave());
        host.PressOk();
    });
    EXPECT_TRUE(host.MessageBoxes().empty());
    // The unknown device was shown as the first entry but never chosen: it goes back as it came.
    EXPECT_EQ(app.block().overlayDevice(app::kOverlayCyclic), 42);
}

// Without the disk every overlay control is disabled, the watermark group and the download
// manager stay usable, and leaving checks nothing: the overlay fields go back unchanged, even
// when they hold what the checks would refuse.
TEST_F(OverlayPageTest, NoDiskNoChecks) {
    app.block().setDiskInstalled(0);
    SetSlot(app::kOverlayAllPages, 1, "TOOLONGNAME", 2);
    SetSlot(app::kOverlayCyclic, 1, "", 1);
    app.block().setOverlayCyclicFirstPage(0);
    app.block().setOverlayCyclicPeriod(500);
    const std::string before = OverlayBytes();
    Run([&] {
        for (const OverlaySlotControls& c : kOverlaySlotControls) {
            EXPECT_FALSE(host.IsEnabled(c.check)) << c.check;
            EXPECT_FALSE(host.IsEnabled(c.name)) << c.name;
            EXPECT_FALSE(host.IsEnabled(c.device)) << c.device;
        }
        for (const int id : {IDC_OVERLAY_CYCLE_FIRST, IDC_OVERLAY_CYCLE_FIRST_SPIN,
                             IDC_OVERLAY_CYCLE_PERIOD, IDC_OVERLAY_CYCLE_PERIOD_SPIN})
            EXPECT_FALSE(host.IsEnabled(id)) << id;
        for (const int id : {IDC_WATERMARK_LIST, IDC_WATERMARK_FIRST_PAGE_ONLY, IDC_WATERMARK_ADD,
                             IDC_OVERLAY_DOWNLOAD_MANAGER})
            EXPECT_TRUE(host.IsEnabled(id)) << id;
        EXPECT_TRUE(Leave());
        host.SelectPage(0);
        EXPECT_TRUE(Leave());
        host.PressOk();
    });
    EXPECT_TRUE(host.MessageBoxes().empty());
    EXPECT_EQ(OverlayBytes(), before);
}

// Leaving checks the names of checked slots (all, first, odd, even, then cyclic): a name that
// breaks 8.3 keeps the page with the message and the focus in its edit, and the block keeps
// the previous name. The directory part is not counted.
TEST_F(OverlayPageTest, LeavingChecksNames) {
    const struct {
        int slot;
        const char* name;
        bool accepted;
    } cases[] = {
        {app::kOverlayAllPages, "ABCDEFGH.OVL", true},
        {app::kOverlayFirstPage, "ABCDEFGH", true},
        {app::kOverlayEvenPages, "C:\\D\\AB.OVL", true},
        {app::kOverlayOddPages, "ABCDEFGHI", false},
        {app::kOverlayOddPages, "ABCDEFGHI.O", false},
        {app::kOverlayEvenPages, "FORM.OVLX", false},
        {app::kOverlayCyclic, "A.B.CDEF", false},
        {app::kOverlayCyclic, "X.Y", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetSlot(c.slot, 1, "OLD.OVL", 1);
        const int edit = kOverlaySlotControls[static_cast<std::size_t>(c.slot)].name;
        const std::size_t shown = host.MessageBoxes().size();
        Run([&] {
            host.ReplaceText(edit, c.name);
            if (!c.accepted)
                host.AnswerMessageBox(ui::kIdOk);
            EXPECT_EQ(Leave(), c.accepted);
            if (!c.accepted) {
                EXPECT_EQ(host.FocusedId(), edit);
                EXPECT_EQ(app.block().overlayFileName(c.slot), "OLD.OVL");
            }
            host.PressCancel();
        });
        if (c.accepted) {
            EXPECT_EQ(app.block().overlayFileName(c.slot), c.name);
            EXPECT_EQ(host.MessageBoxes().size(), shown);
        } else {
            ASSERT_EQ(host.MessageBoxes().size(), shown + 1);
            EXPECT_EQ(host.MessageBoxes().back().text, kOverlayNameMessage);
            EXPECT_EQ(host.MessageBoxes().back().style, ui::kMbOk | ui::kMbTaskModal);
        }
        SetSlot(c.slot, 0, "", 0);
    }
}

// What the driver sent in an enabled field is checked on leaving whether the user edited it or
// not, with the page's own message once, whether leaving or tabbing out of the field finds it:
// the focus goes into the field and the page is kept until it is mended.
TEST_F(OverlayPageTest, SentValuesInEnabledFieldsAreChecked) {
    const struct {
        const char* what;
        int slot;
        const char* name;
        std::int16_t firstPage, period;
        int field;
        std::string message;
        const char* mended;
    } cases[] = {
        {"first page 0", app::kOverlayCyclic, "C.OVL", 0, 3, IDC_OVERLAY_CYCLE_FIRST, kRange, "5"},
        {"first page 500", app::kOverlayCyclic, "C.OVL", 500, 3, IDC_OVERLAY_CYCLE_FIRST, kRange,
         "5"},
        {"period 0", app::kOverlayCyclic, "C.OVL", 2, 0, IDC_OVERLAY_CYCLE_PERIOD, kRange, "7"},
        {"name not 8.3", app::kOverlayAllPages, "TOOLONGNAME1", 1, 1, IDC_OVERLAY_ALL_NAME,
         kOverlayNameMessage, "LONG.OVL"},
        {"cyclic name not 8.3", app::kOverlayCyclic, "ABCDEFGHI.OV", 2, 3, IDC_OVERLAY_CYCLIC_NAME,
         kOverlayNameMessage, "CYC.OVL"},
    };
    for (const auto& c : cases) {
        for (const bool byTab : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (byTab ? ", tabbing out" : ", leaving"));
            SetSlot(c.slot, 1, c.name, 2);
            app.block().setOverlayCyclicFirstPage(c.firstPage);
            app.block().setOverlayCyclicPeriod(c.period);
            const std::string before = OverlayBytes();
            const std::size_t shown = host.MessageBoxes().size();
            Run([&] {
                host.AnswerMessageBox(ui::kIdOk);
                if (byTab) {
                    host.FocusControl(c.field);
                    host.PressTab(false);
                    EXPECT_EQ(host.FocusedId(), c.field);
                }
                EXPECT_FALSE(Leave());
                EXPECT_EQ(host.FocusedId(), c.field);
                EXPECT_EQ(OverlayBytes(), before);
                host.ReplaceText(c.field, c.mended);
                EXPECT_TRUE(Leave());
                host.PressOk();
            });
            ASSERT_EQ(host.MessageBoxes().size(), shown + 1);
            EXPECT_EQ(host.MessageBoxes().back().text, c.message);
            EXPECT_EQ(host.MessageBoxes().back().style, ui::kMbOk | ui::kMbTaskModal);
            if (c.field == IDC_OVERLAY_CYCLE_FIRST)
                EXPECT_EQ(app.block().overlayCyclicFirstPage(), 5);
            else if (c.field == IDC_OVERLAY_CYCLE_PERIOD)
                EXPECT_EQ(app.block().overlayCyclicPeriod(), 7);
            else
                EXPECT_EQ(app.block().overlayFileName(c.slot), c.mended);
            SetSlot(c.slot, 0, "", 0);
        }
    }
}

// Fields that are disabled (an unchecked slot, the numbers of an unchecked cyclic slot) are
// neither checked nor read: what the driver sent goes back as it came.
TEST_F(OverlayPageTest, DisabledValuesAreCarried) {
    SetSlot(app::kOverlayAllPages, 0, "TOOLONGNAME1", 2);
    SetSlot(app::kOverlayCyclic, 0, "ABCDEFGHI.OV", 42);
    app.block().setOverlayCyclicFirstPage(0);
    app.block().setOverlayCyclicPeriod(-3);
    const std::string before = OverlayBytes();
    Run([&] {
        for (int tab = 0; tab < 12; ++tab)
            host.PressTab(false);
        EXPECT_TRUE(Leave());
        host.PressOk();
    });
    EXPECT_TRUE(host.MessageBoxes().empty());
    EXPECT_EQ(OverlayBytes(), before);
}

// Leaving stores what every enabled control shows: a device the table lacks, shown as the
// first entry of a checked slot's list, goes back as that entry; a first-page box sent as 2
// goes back as the 1 its tick stands for.
TEST_F(OverlayPageTest, LeavingSendsWhatIsShown) {
    SetSlot(app::kOverlayOddPages, 1, "ODD.OVL", 42);
    SetSlot(app::kOverlayEvenPages, 0, "EVEN.OVL", 42);
    app.block().setWatermarkFirstPageOnly(2);
    Run([&] {
        EXPECT_EQ(host.SelectedText(IDC_OVERLAY_ODD_DEVICE), "SYS:");
        EXPECT_EQ(host.Check(IDC_WATERMARK_FIRST_PAGE_ONLY), ui::kChecked);
        host.PressOk();
    });
    EXPECT_EQ(app.block().overlayDevice(app::kOverlayOddPages), 0);
    EXPECT_EQ(app.block().overlayDevice(app::kOverlayEvenPages), 42); // disabled: carried
    EXPECT_EQ(app.block().watermarkFirstPageOnly(), 1);
}

// A checked slot without a name is no overlay: leaving clears it (and both numbers for the
// cyclic one).
TEST_F(OverlayPageTest, EmptyNameClearsTheSlot) {
    SetSlot(app::kOverlayFirstPage, 1, "", 5);
    SetSlot(app::kOverlayCyclic, 1, "CYC.OVL", 3);
    app.block().setOverlayCyclicFirstPage(4);
    Run([&] {
        host.ReplaceText(IDC_OVERLAY_CYCLIC_NAME, "");
        host.ReplaceText(IDC_OVERLAY_CYCLE_PERIOD, "7");
        EXPECT_TRUE(Leave());
        host.PressOk();
    });
    const app::PrinterSettingsBlock& b = app.block();
    EXPECT_EQ(b.overlayEnabled(app::kOverlayFirstPage), 0);
    EXPECT_EQ(b.overlayDevice(app::kOverlayFirstPage), 0);
    EXPECT_EQ(b.overlayEnabled(app::kOverlayCyclic), 0);
    EXPECT_EQ(b.overlayDevice(app::kOverlayCyclic), 0);
    EXPECT_EQ(b.overlayFileName(app::kOverlayCyclic), "");
    EXPECT_EQ(b.overlayCyclicFirstPage(), 1);
    EXPECT_EQ(b.overlayCyclicPeriod(), 1);
}

// The cyclic numbers: typing stores a good value at once; a bad one is reported once, whether
// the typing, the focus leaving or the page leaving finds it; the page is kept until it is
// mended. Loading never reports.
TEST_F(OverlayPageTest, CyclicNumbers) {
    SetSlot(app::kOverlayCyclic, 1, "CYC.OVL", 1);
    app.block().setOverlayCyclicFirstPage(4);
    app.block().setOverlayCyclicPeriod(2);
    Run([&] {
        host.ReplaceText(IDC_OVERLAY_CYCLE_PERIOD, "12");
        EXPECT_EQ(app.block().overlayCyclicPeriod(), 12);
        host.AnswerMessageBox(ui::kIdOk);
        host.ReplaceText(IDC_OVERLAY_CYCLE_PERIOD, "100");
        EXPECT_THAT(Messages(), ElementsAre(kRange));
        EXPECT_NE(host.MessageBoxes()[0].style & ui::kMbTaskModal, 0u);
        EXPECT_EQ(host.FocusedId(), IDC_OVERLAY_CYCLE_PERIOD);
        EXPECT_EQ(app.block().overlayCyclicPeriod(), 10); // "1" and "10" were good on the way
        host.FocusControl(IDC_OVERLAY_ALL_ENABLE); // already reported: the focus only comes back
        EXPECT_EQ(host.FocusedId(), IDC_OVERLAY_CYCLE_PERIOD);
        EXPECT_FALSE(Leave());
        EXPECT_EQ(Messages().size(), 1u);
        host.ReplaceText(IDC_OVERLAY_CYCLE_PERIOD, "9");
        host.AnswerMessageBox(ui::kIdOk);
        host.ReplaceText(IDC_OVERLAY_CYCLE_FIRST, "0");
        EXPECT_EQ(Messages().size(), 2u);
        EXPECT_FALSE(Leave());
        EXPECT_EQ(host.FocusedId(), IDC_OVERLAY_CYCLE_FIRST);
        host.ReplaceText(IDC_OVERLAY_CYCLE_FIRST, "5");
        EXPECT_TRUE(Leave());
        host.SelectPage(0); // reloading shows the stored numbers without a word
        EXPECT_EQ(host.Text(IDC_OVERLAY_CYCLE_FIRST), "5");
        host.PressOk();
    });
    EXPECT_EQ(Messages().size(), 2u);
    EXPECT_EQ(app.block().overlayCyclicFirstPage(), 5);
    EXPECT_EQ(app.block().overlayCyclicPeriod(), 9);
}

// What a handler writes, the page shows at once: the slots' check boxes and device lists and
// the cyclic numbers always show what the block holds.
void ExpectShownAsHeld(TestHost& host, const app::PrinterSettingsBlock& b) {
    for (int slot = 0; slot < app::kOverlaySlotCount; ++slot) {
        const OverlaySlotControls& c = kOverlaySlotControls[static_cast<std::size_t>(slot)];
        EXPECT_EQ(host.Check(c.check) == ui::kChecked, b.overlayEnabled(slot) != 0) << slot;
        const int selected = host.Selection(c.device);
        ASSERT_GE(selected, 0) << slot;
        EXPECT_EQ(host.ItemData(c.device)[static_cast<std::size_t>(selected)],
                  b.overlayDevice(slot))
            << slot;
    }
    EXPECT_EQ(host.Text(IDC_OVERLAY_CYCLE_FIRST), std::to_string(b.overlayCyclicFirstPage()));
    EXPECT_EQ(host.Text(IDC_OVERLAY_CYCLE_PERIOD), std::to_string(b.overlayCyclicPeriod()));
}

// The cyclic slot's name emptied and a new one typed after tabbing through both numbers: the
// numbers' lost focus changes nothing the page does not show, and OK sends the slot as shown.
TEST_F(OverlayPageTest, CyclicNameRetypedAfterTheNumbers) {
    SetSlot(app::kOverlayCyclic, 1, "CYC.OVL", 3);
    app.block().setOverlayCyclicFirstPage(5);
    app.block().setOverlayCyclicPeriod(3);
    Run([&] {
        host.ReplaceText(IDC_OVERLAY_CYCLIC_NAME, "");
        const int stops[] = {IDC_OVERLAY_CYCLIC_DEVICE, IDC_OVERLAY_CYCLE_FIRST,
                             IDC_OVERLAY_CYCLE_PERIOD, IDC_WATERMARK_LIST};
        for (const int stop : stops) {
            host.PressTab(false);
            EXPECT_EQ(host.FocusedId(), stop);
            ExpectShownAsHeld(host, app.block());
        }
        EXPECT_EQ(host.Check(IDC_OVERLAY_CYCLIC_ENABLE), ui::kChecked);
        EXPECT_EQ(host.SelectedText(IDC_OVERLAY_CYCLIC_DEVICE), "DSK2:");
        host.ReplaceText(IDC_OVERLAY_CYCLIC_NAME, "NEW.OVL");
        ExpectShownAsHeld(host, app.block());
        host.PressOk();
    });
    EXPECT_TRUE(host.MessageBoxes().empty());
    const app::PrinterSettingsBlock& b = app.block();
    EXPECT_EQ(b.overlayEnabled(app::kOverlayCyclic), 1);
    EXPECT_EQ(b.overlayFileName(app::kOverlayCyclic), "NEW.OVL");
    EXPECT_EQ(b.overlayDevice(app::kOverlayCyclic), 3);
    EXPECT_EQ(b.overlayCyclicFirstPage(), 5);
    EXPECT_EQ(b.overlayCyclicPeriod(), 3);
}

// A number field left for another field stores both numbers and changes nothing else, even
// with the cyclic slot checked and no name; leaving the page clears that slot, and the page
// shows it cleared. Moving to OK or Cancel checks nothing.
TEST_F(OverlayPageTest, NumberFocusLeaving) {
    SetSlot(app::kOverlayCyclic, 1, "", 2);
    Run([&] {
        host.ReplaceText(IDC_OVERLAY_CYCLE_FIRST, "6");
        EXPECT_EQ(app.block().overlayCyclicFirstPage(), 6);
        host.FocusControl(IDC_OVERLAY_CYCLE_PERIOD);
        host.FocusControl(IDC_OVERLAY_ALL_ENABLE);
        EXPECT_EQ(app.block().overlayEnabled(app::kOverlayCyclic), 1);
        EXPECT_EQ(app.block().overlayDevice(app::kOverlayCyclic), 2);
        ExpectShownAsHeld(host, app.block());
        EXPECT_TRUE(Leave());
        EXPECT_EQ(page.IsDlgButtonChecked(IDC_OVERLAY_CYCLIC_ENABLE), ui::kUnchecked);
        EXPECT_EQ(
            ui::ComboBox(page.GetDlgItem(IDC_OVERLAY_CYCLIC_DEVICE).GetHandle()).GetSelectedText(),
            "SYS:");
        EXPECT_EQ(page.GetDlgItemText(IDC_OVERLAY_CYCLE_FIRST), "1");
        EXPECT_FALSE(page.GetDlgItem(IDC_OVERLAY_CYCLE_FIRST).IsWindowEnabled());
        host.SelectPage(0);
        host.ReplaceText(IDC_OVERLAY_CYCLE_PERIOD, "8"); // disabled now: nothing typed
        host.PressCancel();
    });
    EXPECT_TRUE(host.MessageBoxes().empty());
    const app::PrinterSettingsBlock& b = app.block();
    EXPECT_EQ(b.overlayEnabled(app::kOverlayCyclic), 0);
    EXPECT_EQ(b.overlayDevice(app::kOverlayCyclic), 0);
    EXPECT_EQ(b.overlayCyclicFirstPage(), 1);
    EXPECT_EQ(b.overlayCyclicPeriod(), 1);
}

// A name edit left for another field is checked at once: good names are stored, a bad one is
// reported once and keeps the focus.
TEST_F(OverlayPageTest, NameFocusLeaving) {
    SetSlot(app::kOverlayFirstPage, 1, "OLD.OVL", 1);
    Run([&] {
        host.ReplaceText(IDC_OVERLAY_FIRST_NAME, "NEW.OVL");
        host.FocusControl(IDC_OVERLAY_ALL_ENABLE);
        EXPECT_EQ(app.block().overlayFileName(app::kOverlayFirstPage), "NEW.OVL");
        host.ReplaceText(IDC_OVERLAY_FIRST_NAME, "NEWNEWNEW.OV");
        host.AnswerMessageBox(ui::kIdOk);
        host.FocusControl(IDC_OVERLAY_ALL_ENABLE);
        EXPECT_EQ(host.FocusedId(), IDC_OVERLAY_FIRST_NAME);
        host.FocusControl(IDC_WATERMARK_LIST);
        EXPECT_EQ(host.FocusedId(), IDC_OVERLAY_FIRST_NAME);
        EXPECT_FALSE(Leave());
        EXPECT_THAT(Messages(), ElementsAre(kOverlayNameMessage));
        EXPECT_EQ(app.block().overlayFileName(app::kOverlayFirstPage), "NEW.OVL");
        host.PressCancel();
    });
}

// A number and a name both in error: leaving the number for the name reports the number and
// keeps the focus there; the name is not checked on the way, so the two never pull the focus
// from each other (which ran without end).
TEST_F(OverlayPageTest, TwoFieldsInErrorDoNotFightForTheFocus) {
    SetSlot(app::kOverlayAllPages, 1, "LOGO.OVL", 0);
    SetSlot(app::kOverlayCyclic, 1, "CYKLUS.OV", 0);
    Run([&] {
        host.SetMessageBoxFallback([](const ui::MessageBoxCall&) { return ui::kIdOk; });
        host.ReplaceText(IDC_OVERLAY_CYCLE_FIRST, "0");
        EXPECT_EQ(host.FocusedId(), IDC_OVERLAY_CYCLE_FIRST);
        host.EditControl(IDC_OVERLAY_ALL_NAME).SetWindowText("ABCDEFGHI.OV");
        host.FocusControl(IDC_OVERLAY_ALL_NAME);
        EXPECT_EQ(host.FocusedId(), IDC_OVERLAY_CYCLE_FIRST);
        host.Click(IDC_WATERMARK_FIRST_PAGE_ONLY);
        EXPECT_EQ(host.FocusedId(), IDC_OVERLAY_CYCLE_FIRST);
        host.PressCancel();
        host.SetMessageBoxFallback(nullptr);
    });
    EXPECT_THAT(Messages(), ElementsAre(OutOfRangeMessage(1, 99)));
}

// A slot shows its fields as they will be sent: unchecked, a refused name or number typed into
// it gives way to the block's, a name the driver filled to the field's end shows as the record
// now holds it, and a device the table lacks shows no entry while the slot cannot be edited
// (checked, the entry shown is sent).
TEST_F(OverlayPageTest, SlotsShowWhatTheyWillSend) {
    SetSlot(app::kOverlayAllPages, 1, "LOGO.OVL", 2);
    SetSlot(app::kOverlayCyclic, 1, "CYKLUS.OVL", 0);
    app.block().setOverlayCyclicPeriod(35);
    app::OverlaySlot odd = app.block().overlaySlot(app::kOverlayOddPages);
    std::fill_n(odd.bytes.begin() + app::OverlaySlot::kFileNameOffset, 13, 'x');
    odd.setEnabled(1);
    odd.setDevice(37);
    app.block().setOverlaySlot(app::kOverlayOddPages, odd);
    Run([&] {
        host.SetMessageBoxFallback([](const ui::MessageBoxCall&) { return ui::kIdOk; });
        host.ReplaceText(IDC_OVERLAY_ALL_NAME, "ABCDEFGHI.OV");
        host.Click(IDC_OVERLAY_ALL_ENABLE); // the name is refused, then the slot unchecked
        EXPECT_EQ(host.Text(IDC_OVERLAY_ALL_NAME), "LOGO.OVL");
        host.ReplaceText(IDC_OVERLAY_CYCLE_PERIOD, "350");
        host.Click(IDC_OVERLAY_CYCLIC_ENABLE);
        EXPECT_EQ(host.Text(IDC_OVERLAY_CYCLE_PERIOD), "35");
        EXPECT_EQ(host.SelectedText(IDC_OVERLAY_ODD_DEVICE), "SYS:");
        host.Click(IDC_OVERLAY_ODD_ENABLE);
        EXPECT_EQ(host.Text(IDC_OVERLAY_ODD_NAME), std::string(12, 'x'));
        EXPECT_EQ(host.Selection(IDC_OVERLAY_ODD_DEVICE), -1);
        EXPECT_EQ(host.Check(IDC_OVERLAY_ALL_ENABLE), ui::kUnchecked);
        EXPECT_EQ(host.Check(IDC_OVERLAY_CYCLIC_ENABLE), ui::kUnchecked);
        host.SetMessageBoxFallback(nullptr);
        host.PressOk();
    });
    const app::PrinterSettingsBlock& b = app.block();
    EXPECT_EQ(b.overlayFileName(app::kOverlayAllPages), "LOGO.OVL");
    EXPECT_EQ(b.overlayCyclicPeriod(), 35);
    EXPECT_EQ(b.overlayFileName(app::kOverlayOddPages), std::string(12, 'x'));
    EXPECT_EQ(b.overlayDevice(app::kOverlayOddPages), 37);
}

// A name the driver sent that passes the 8.3 rule only through a folder before it, and fills
// the field to its end, is refused when the page is left: stored, it would be cut.
TEST_F(OverlayPageTest, NameLongerThanItsFieldIsRefused) {
    const std::string sent = "FORMULAR\\LOGO";
    SetSlot(app::kOverlayFirstPage, 1, "", 0);
    // The driver's bytes as they come, without a terminator in the field (at 747, 17 a slot).
    std::copy(sent.begin(), sent.end(),
              app.block().data() + 747 + 17 * app::kOverlayFirstPage +
                  app::OverlaySlot::kFileNameOffset);
    Run([&] {
        EXPECT_EQ(host.Text(IDC_OVERLAY_FIRST_NAME), sent);
        host.AnswerMessageBox(ui::kIdOk);
        EXPECT_FALSE(Leave());
        EXPECT_EQ(host.FocusedId(), IDC_OVERLAY_FIRST_NAME);
        host.ReplaceText(IDC_OVERLAY_FIRST_NAME, "LOGO.OVL");
        EXPECT_TRUE(Leave());
        host.PressOk();
    });
    EXPECT_THAT(Messages(), ElementsAre(kOverlayNameMessage));
    EXPECT_EQ(app.block().overlayFileName(app::kOverlayFirstPage), "LOGO.OVL");
}

// ---- watermark ----------------------------------------------------------------------------

// The list: the predefined names in table order with their ids, then the stored names added
// by the sorted list's own insertion with code 0, without a stored copy of a predefined name
// and without a name the block could not hold.
TEST_F(OverlayPageTest, WatermarkList) {
    for (const std::string& name : {std::string("Zeta"), std::string("Alfa"), kCopy,
                                    Cp1250(u8"dôverné"), std::string(32, 'L')})
        StoreProfile(app.registry, name, "x");
    Run([&] {
        // "Alfa" sorts before the list's middle entries and lands first, as a sorted Win32
        // list places it.
        EXPECT_THAT(host.Items(IDC_WATERMARK_LIST),
                    ElementsAre("Alfa", kNone, kConfidential, kCopy, kDraft, kFinal, kOriginal,
                                kPreview, "Zeta"));
        EXPECT_THAT(host.ItemData(IDC_WATERMARK_LIST), ElementsAre(0, 1, 2, 3, 4, 5, 6, 7, 0));
        host.PressCancel();
    });
}

// What the block names is selected and its profile loaded; what the list cannot show falls
// back to "Žiadny" together with its code.
TEST_F(OverlayPageTest, WatermarkSelectionAtLoad) {
    StoreProfile(app.registry, "Logo", "Firma", 120);
    StoreProfile(app.registry, kCopy, "Kopia textu", 90);
    const struct {
        std::int16_t code;
        std::string name;
        std::string selected;
        std::int16_t storedCode;
        std::string text;
        int size;
        bool edit, remove;
    } cases[] = {
        {8, "Logo", "Logo", 8, "Firma", 120, true, true},
        {8, "logo", "Logo", 8, "Firma", 120, true, true},
        {3, kCopy, kCopy, 3, "Kopia textu", 90, true, false},
        {2, kConfidential, kConfidential, 2, kConfidential, 72, true, false},
        // Not yet chosen: "Žiadny"; the page's next load finds no profile of that name.
        {-1, "Logo", kNone, 1, kNone, 72, false, false},
        {8, "Gone", kNone, 1, kNone, 72, false, false},
        {0, "", kNone, 1, kNone, 72, false, false},
        {1, kNone, kNone, 1, kNone, 72, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name + "/" + std::to_string(c.code));
        app::PrinterSettingsBlock& b = app.block();
        b.setWatermarkCode(c.code);
        b.setWatermarkName(c.name);
        b.setWatermarkSize(c.code == -1 ? 72 : 33);
        b.setWatermarkText(c.code == -1 ? "Firma" : "stale");
        Run([&] {
            EXPECT_EQ(host.SelectedText(IDC_WATERMARK_LIST), c.selected);
            EXPECT_EQ(host.IsEnabled(IDC_WATERMARK_EDIT), c.edit);
            EXPECT_EQ(host.IsEnabled(IDC_WATERMARK_DELETE), c.remove);
            host.PressCancel();
        });
        EXPECT_EQ(b.watermarkCode(), c.storedCode);
        EXPECT_EQ(b.watermarkName(), c.name == "logo" ? "logo" : c.selected);
        EXPECT_EQ(b.watermarkText(), c.text);
        EXPECT_EQ(b.watermarkSize(), c.size);
    }
}

// Choosing: predefined entries take their ids, stored ones code 8; a predefined watermark
// without a profile prints its name with default attributes. The first-page box writes at once.
TEST_F(OverlayPageTest, ChoosingAWatermark) {
    StoreProfile(app.registry, "Logo", "Firma", 120);
    Run([&] {
        app::PrinterSettingsBlock& b = app.block();
        host.ChooseItem(IDC_WATERMARK_LIST, "Logo");
        EXPECT_EQ(b.watermarkCode(), 8);
        EXPECT_EQ(b.watermarkSize(), 120);
        EXPECT_TRUE(host.IsEnabled(IDC_WATERMARK_DELETE));
        host.ChooseItem(IDC_WATERMARK_LIST, kConfidential);
        EXPECT_EQ(b.watermarkCode(), 2);
        EXPECT_EQ(b.watermarkName(), kConfidential);
        EXPECT_EQ(b.watermarkText(), kConfidential);
        EXPECT_EQ(b.watermarkSize(), 72);
        EXPECT_FALSE(host.IsEnabled(IDC_WATERMARK_DELETE));
        EXPECT_TRUE(host.IsEnabled(IDC_WATERMARK_EDIT));
        host.PressListKey(IDC_WATERMARK_LIST, ui::Automation::ListKey::Home);
        EXPECT_EQ(b.watermarkCode(), 1);
        EXPECT_FALSE(host.IsEnabled(IDC_WATERMARK_EDIT));
        host.Click(IDC_WATERMARK_FIRST_PAGE_ONLY);
        EXPECT_EQ(b.watermarkFirstPageOnly(), 1);
        host.PressCancel();
    });
}

// Adding: the editor starts from "Vodoznak" with default attributes; OK stores the profile,
// lists and selects it with code 8; Cancel puts the whole previous record back.
TEST_F(OverlayPageTest, AddingAWatermark) {
    StoreProfile(app.registry, "Logo", "Firma", 120);
    app.block().setWatermarkCode(8);
    app.block().setWatermarkName("Logo");
    Run([&] {
        const app::WatermarkProfile before = app.block().watermarkProfile();
        host.OnDialog(IDD_WATERMARK_EDITOR, [&] {
            EXPECT_EQ(host.Text(IDC_WM_NAME), "Vodoznak");
            EXPECT_EQ(host.Text(IDC_WM_SIZE), "72");
            host.ReplaceText(IDC_WM_NAME, "Zmena");
            host.ReplaceText(IDC_WM_TEXT, "Zmena");
            host.ChooseItem(IDC_WM_STYLE, Cp1250(u8"Tučné"));
            host.PressCancel();
        });
        host.Click(IDC_WATERMARK_ADD);
        EXPECT_EQ(app.block().watermarkProfile(), before);
        EXPECT_EQ(host.SelectedText(IDC_WATERMARK_LIST), "Logo");

        host.OnDialog(IDD_WATERMARK_EDITOR, [&] {
            host.ReplaceText(IDC_WM_NAME, "Archiv");
            host.ReplaceText(IDC_WM_TEXT, "Archivna kopia");
            host.ReplaceText(IDC_WM_SIZE, "64");
            host.PressOk();
        });
        host.Click(IDC_WATERMARK_ADD);
        EXPECT_EQ(host.SelectedText(IDC_WATERMARK_LIST), "Archiv");
        EXPECT_EQ(app.block().watermarkCode(), 8);
        EXPECT_EQ(app.block().watermarkSize(), 64);
        EXPECT_TRUE(host.IsEnabled(IDC_WATERMARK_DELETE));
        EXPECT_THAT(host.Items(IDC_WATERMARK_LIST), ::testing::Contains("Archiv"));
        host.PressCancel();
    });
    EXPECT_THAT(app.registry.ValueNames(kProfilesKey), ElementsAre("Logo", "Archiv"));
    EXPECT_EQ(app.registry.Get(kProfilesKey, "Archiv")->data, RecordBytes(app.block()));
}

// Editing a predefined watermark stores a profile under its name and keeps its code; the list
// does not show it twice. A cancelled edit leaves no trace.
TEST_F(OverlayPageTest, EditingAWatermark) {
    app.block().setWatermarkCode(3);
    app.block().setWatermarkName(kCopy);
    Run([&] {
        host.OnDialog(IDD_WATERMARK_EDITOR, [&] {
            EXPECT_FALSE(host.IsEnabled(IDC_WM_NAME));
            host.ReplaceText(IDC_WM_ANGLE, "90");
            host.PressOk();
        });
        host.Click(IDC_WATERMARK_EDIT);
        EXPECT_EQ(app.block().watermarkCode(), 3);
        EXPECT_EQ(app.block().watermarkAngle(), 90);
        EXPECT_EQ(host.Items(IDC_WATERMARK_LIST).size(), 7u);
        const app::WatermarkProfile before = app.block().watermarkProfile();
        host.OnDialog(IDD_WATERMARK_EDITOR, [&] {
            host.ReplaceText(IDC_WM_ANGLE, "10");
            host.Click(IDC_WM_POSITION_OFFSET);
            host.PressCancel();
        });
        host.Click(IDC_WATERMARK_EDIT);
        EXPECT_EQ(app.block().watermarkProfile(), before);
        host.PressCancel();
    });
    EXPECT_THAT(app.registry.ValueNames(kProfilesKey), ElementsAre(kCopy));
}

// Deleting removes the profile and its entry and falls back to "Žiadny"; a registry that
// refuses leaves the list as it was, and the selection still falls back.
TEST_F(OverlayPageTest, DeletingAWatermark) {
    StoreProfile(app.registry, "Logo", "Firma", 120);
    StoreProfile(app.registry, "Zeta", "Z");
    app.block().setWatermarkCode(8);
    app.block().setWatermarkName("Logo");
    Run([&] {
        host.Click(IDC_WATERMARK_DELETE);
        EXPECT_EQ(host.SelectedText(IDC_WATERMARK_LIST), kNone);
        EXPECT_EQ(app.block().watermarkCode(), 1);
        EXPECT_EQ(app.block().watermarkName(), kNone);
        EXPECT_EQ(host.Items(IDC_WATERMARK_LIST).back(), "Zeta");
        EXPECT_EQ(host.Items(IDC_WATERMARK_LIST).size(), 8u);
        EXPECT_FALSE(host.IsEnabled(IDC_WATERMARK_DELETE));
        host.PressCancel();
    });
    EXPECT_THAT(app.registry.ValueNames(kProfilesKey), ElementsAre("Zeta"));

    RefusingRegistry refusing(app.registry);
    platform::ScopedServices services(platform::Services{&refusing, nullptr, nullptr});
    app.block().setWatermarkCode(8);
    app.block().setWatermarkName("Zeta");
    Run([&] {
        host.Click(IDC_WATERMARK_DELETE);
        EXPECT_EQ(host.SelectedText(IDC_WATERMARK_LIST), kNone);
        EXPECT_EQ(host.Items(IDC_WATERMARK_LIST).back(), "Zeta");
        EXPECT_EQ(app.block().watermarkCode(), 1);
        host.PressCancel();
    });
    EXPECT_THAT(app.registry.ValueNames(kProfilesKey), ElementsAre("Zeta"));
    EXPECT_TRUE(host.MessageBoxes().empty());
}

// "Správca načítania" starts the download manager for overlays.
TEST_F(OverlayPageTest, DownloadManager) {
    platform::RecordingLauncher launcher;
    platform::ScopedServices services(platform::Services{nullptr, &launcher, nullptr});
    app.registry.Put(kDownloadManagerKey, "", platform::RegistryType::String,
                     std::string("C:\\VELA\\OZPROFDL.EXE") + '\0');
    Run([&] {
        host.Click(IDC_OVERLAY_DOWNLOAD_MANAGER);
        host.PressCancel();
    });
    EXPECT_EQ(launcher.commands, std::vector<std::string>{"C:\\VELA\\OZPROFDL.EXE 1"});
}

// The About page's reset returns the watermark to "Žiadny" with default attributes; the Overlay
// page shows that when it is current again, and the stored profiles stay.
TEST_F(OverlayPageTest, ResetFromTheAboutPage) {
    StoreProfile(app.registry, "Logo", "Firma", 120);
    app.block().setWatermarkCode(8);
    app.block().setWatermarkName("Logo");
    CAbout about;
    ui::PropertySheet sheet("Vela Test");
    sheet.AddPage(page);
    sheet.AddPage(about);
    host.OnSheet([&] {
        EXPECT_EQ(app.block().watermarkSize(), 120);
        host.SelectPage(1);
        host.Click(IDC_ABOUT_RESET);
        host.SelectPage(0);
        EXPECT_EQ(host.SelectedText(IDC_WATERMARK_LIST), kNone);
        EXPECT_FALSE(host.IsEnabled(IDC_WATERMARK_EDIT));
        host.PressOk();
    });
    EXPECT_EQ(sheet.DoModal(), ui::kIdOk);
    const app::PrinterSettingsBlock& b = app.block();
    EXPECT_EQ(b.watermarkCode(), 1);
    EXPECT_EQ(b.watermarkName(), kNone);
    EXPECT_EQ(b.watermarkSize(), 72);
    EXPECT_EQ(b.watermarkFont(), "Courier New");
    EXPECT_THAT(app.registry.ValueNames(kProfilesKey), ElementsAre("Logo"));
}

// The About page's reset takes the watermark text from the Overlay page's editor mode: after an
// edit (mode 2) the reset "Žiadny" is a predefined name and becomes the text; before any editor
// run, and after an add, the text is "Vodoznak".
TEST_F(OverlayPageTest, AboutResetTextFollowsTheEditorMode) {
    const struct {
        const char* what;
        int button; // 0: no editor run
        int ending;
        std::string text;
    } cases[] = {
        {"no editor run", 0, ui::kIdOk, "Vodoznak"},
        {"after an edit", IDC_WATERMARK_EDIT, ui::kIdOk, kNone},
        {"after a cancelled edit", IDC_WATERMARK_EDIT, ui::kIdCancel, kNone},
        {"after an add", IDC_WATERMARK_ADD, ui::kIdOk, "Vodoznak"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        app.block().setWatermarkCode(3);
        app.block().setWatermarkName(kCopy);
        COverlay overlay;
        CAbout about;
        ui::PropertySheet sheet("Vela Test");
        sheet.AddPage(overlay);
        sheet.AddPage(about);
        host.OnSheet([&] {
            if (c.button != 0) {
                host.OnDialog(IDD_WATERMARK_EDITOR, [&] {
                    host.ReplaceText(IDC_WM_NAME, "Archiv");
                    if (c.ending == ui::kIdOk)
                        host.PressOk();
                    else
                        host.PressCancel();
                });
                host.Click(c.button);
            }
            host.SelectPage(1);
            host.Click(IDC_ABOUT_RESET);
            host.PressOk();
        });
        EXPECT_EQ(sheet.DoModal(), ui::kIdOk);
        EXPECT_EQ(app.block().watermarkName(), kNone);
        EXPECT_EQ(app.block().watermarkText(), c.text);
    }
}

} // namespace
} // namespace pages
