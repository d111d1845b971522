#include "app/driver_link.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/simulated_ddeml.h"

namespace app {
namespace {

using platform::SimulatedDdeml;
using State = SimulatedDdeml::ConversationState;
using Bytes = std::vector<std::uint8_t>;

constexpr std::int32_t kDriverOwner = 0x00C0FFEE;

// What the driver pokes: size 1312, type 1 and an owner window, then a recognisable block; cut
// or extended to `size` bytes.
Bytes DriverMessage(std::size_t size, std::int32_t owner = kDriverOwner) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    const std::int32_t header[3] = {1312, 1, owner};
    if (size > 0) {
        std::memcpy(bytes.data(), header, std::min<std::size_t>(size, sizeof header));
    }
    return bytes;
}

// The code a call raised, 0 when it raised nothing.
int RaisedCode(const std::function<void()>& call) {
    try {
        call();
    } catch (const DriverLinkError& error) {
        return error.code();
    }
    return 0;
}

class DriverLinkTest : public testing::Test {
protected:
    // The driver's start: connect, start the advise link on "Data", poke each message.
    std::size_t Driver(const std::vector<Bytes>& pokes, const std::string& topic = "DDI",
                       const std::string& item = "Data") {
        const std::size_t conv = sim.Connect(kDdeServiceName, topic);
        sim.StartAdvise(conv, kDdeItemName, 0xFFFFC000u);
        for (const Bytes& poke : pokes) {
            sim.Poke(conv, item, poke);
        }
        return conv;
    }

    bool Receive() { return link.ReceiveSettings(owner, block); }

    SimulatedDdeml sim;
    DriverLink link{sim, sim};
    std::int32_t owner = 77;
    PrinterSettingsBlock block;
};

// Open: the names, flags and code page the driver relies on; the link opens with status 0.
TEST_F(DriverLinkTest, OpenRegistersTheService) {
    EXPECT_EQ(link.status(), kLinkClosed);
    link.Open();
    EXPECT_EQ(link.status(), kLinkOpen);
    EXPECT_TRUE(link.usable());
    EXPECT_EQ(sim.initializeFlags(), 0x1E9000u);
    EXPECT_TRUE(sim.isServiceRegistered("VELA40PSSRV"));
    for (const char* name : {"VELA40PSSRV", "DDI", "Data"}) {
        EXPECT_EQ(sim.codePageOf(name), 1004) << name;
    }
}

// A failing step of Open is not recorded (the status is 1 while it runs); the receive then
// fails on the missing handle, or, with the service unregistered, no driver reaches the link.
TEST_F(DriverLinkTest, OpenStepFailuresEndTheReceive) {
    struct Case {
        const char* step;
        std::function<void(SimulatedDdeml::Failures&)> fail;
        bool usable;
        int status;
    };
    const Case cases[] = {
        {"event", [](auto& f) { f.createEvent = true; }, false, kLinkMissingHandle},
        {"format", [](auto& f) { f.registerFormat = true; }, false, kLinkMissingHandle},
        {"instance", [](auto& f) { f.initialize = true; }, false, kLinkMissingHandle},
        {"service name", [](auto& f) { f.stringHandle = "VELA40PSSRV"; }, false,
         kLinkMissingHandle},
        {"topic name", [](auto& f) { f.stringHandle = "DDI"; }, false, kLinkMissingHandle},
        {"item name", [](auto& f) { f.stringHandle = "Data"; }, false, kLinkMissingHandle},
        {"name service", [](auto& f) { f.nameService = true; }, true, kLinkTimedOut},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        SimulatedDdeml sim;
        DriverLink link(sim, sim);
        c.fail(sim.failures);
        EXPECT_EQ(RaisedCode([&] { link.Open(); }), 0);
        EXPECT_EQ(link.status(), kLinkOpen);
        EXPECT_EQ(link.usable(), c.usable);
        link.Close();

        const std::size_t conv = sim.Connect(kDdeServiceName, kDdeTopicName);
        sim.Poke(conv, kDdeItemName, DriverMessage(1312));
        std::int32_t owner = 77;
        PrinterSettingsBlock block;
        block.setPrinterName("kept");
        EXPECT_FALSE(link.ReceiveSettings(owner, block));
        EXPECT_EQ(link.status(), c.status);
        if (c.status < 0) {
            EXPECT_EQ(owner, 77); // a raised failure leaves the outputs alone
            EXPECT_EQ(block.printerName(), "kept");
        }
        EXPECT_NE(sim.conversation(conv).state, State::Connected);
    }
}

// Report: the first outcome sticks until Close; a negative status is raised again by any later
// report, and nothing is raised while the status is 1 or 2.
TEST_F(DriverLinkTest, FirstOutcomeSticks) {
    link.Open();
    std::uint8_t buffer[16];
    EXPECT_EQ(link.Receive(buffer, sizeof buffer, 100), kLinkTimedOut);
    // Another topic while timed out: refused, but neither recorded nor raised.
    const std::size_t stranger = sim.Connect(kDdeServiceName, "OTHER");
    EXPECT_FALSE(sim.PumpMessages());
    EXPECT_EQ(sim.conversation(stranger).state, State::Refused);
    EXPECT_EQ(link.status(), kLinkTimedOut);
    EXPECT_EQ(link.Receive(nullptr, 0, 100), kLinkTimedOut);
    EXPECT_EQ(RaisedCode([&] { link.Receive(buffer, sizeof buffer, 100); }), 0);

    link.Close();
    link.Open();
    EXPECT_EQ(RaisedCode([&] { link.Receive(nullptr, 0, 100); }), kLinkNoBuffer);
    EXPECT_EQ(link.status(), kLinkNoBuffer);
    // A time-out now reports 2, which is not recorded; the failure is raised again.
    EXPECT_EQ(RaisedCode([&] { link.Wait(100); }), kLinkNoBuffer);
    EXPECT_EQ(sim.activeTimers(), 0u);
}

// Opening an open link raises -1 and never starts a second instance over the first; after a
// time-out it is refused quietly.
TEST_F(DriverLinkTest, OpenOverAnOpenLink) {
    link.Open();
    EXPECT_EQ(RaisedCode([&] { link.Open(); }), kLinkMissingHandle);
    EXPECT_EQ(sim.liveInstances(), 1u);
    link.Close();
    link.Open();
    std::uint8_t buffer[4];
    link.Receive(buffer, sizeof buffer, 10);
    EXPECT_EQ(RaisedCode([&] { link.Open(); }), 0);
    EXPECT_EQ(link.status(), kLinkTimedOut);
    EXPECT_EQ(sim.liveInstances(), 1u);
    EXPECT_EQ(sim.openEvents(), 1u);
}

// Pokes of 0 and 28 bytes are acknowledged and ignored; any other fills at most 1312 bytes, and
// block bytes a short message does not reach stay 0.
TEST_F(DriverLinkTest, PokeSizes) {
    struct Case {
        std::vector<std::size_t> sizes;
        bool received;
        std::uint32_t stored;
    };
    const Case cases[] = {
        {{0}, false, 0},      {{28}, false, 0},     {{100}, true, 100},
        {{1312}, true, 1312}, {{1400}, true, 1312}, {{28, 0, 1312}, true, 1312},
        {{5}, true, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.sizes));
        SimulatedDdeml sim;
        DriverLink link(sim, sim);
        const std::size_t conv = sim.Connect(kDdeServiceName, kDdeTopicName);
        for (std::size_t size : c.sizes) {
            sim.Poke(conv, kDdeItemName, DriverMessage(size));
        }
        std::int32_t owner = 77;
        PrinterSettingsBlock block;
        EXPECT_EQ(link.ReceiveSettings(owner, block), c.received);
        EXPECT_EQ(link.receivedLength(), c.stored);
        EXPECT_EQ(link.status(), c.received ? kLinkOpen : kLinkTimedOut);
        EXPECT_EQ(sim.conversation(conv).pokeResults,
                  std::vector<platform::DdeData>(c.sizes.size(), platform::kDdeFack));
        EXPECT_EQ(sim.dataLeftAccessed(), 0u);
        if (!c.received) {
            EXPECT_EQ(sim.now(), kDriverWaitMs);
            continue;
        }
        const Bytes sent = DriverMessage(c.sizes.back());
        EXPECT_EQ(owner, c.stored >= 12 ? kDriverOwner : 0);
        for (std::size_t i = 0; i < PrinterSettingsBlock::kSize; ++i) {
            const std::uint8_t expected = 12 + i < c.stored ? sent[12 + i] : 0;
            ASSERT_EQ(block.data()[i], expected) << "block byte " << i;
        }
    }
}

// A poke arriving after the receive returned is acknowledged and touches no buffer; the next
// receive has its whole capacity again.
TEST_F(DriverLinkTest, PokeOutsideAReceive) {
    const std::size_t conv = Driver({DriverMessage(1312)});
    ASSERT_TRUE(Receive());
    const PrinterSettingsBlock received = block;
    sim.Poke(conv, kDdeItemName, DriverMessage(100, 5));
    EXPECT_FALSE(sim.PumpMessages());
    EXPECT_EQ(sim.conversation(conv).pokeResults.back(), platform::kDdeFack);
    EXPECT_EQ(block, received);
    EXPECT_EQ(link.receivedLength(), 1312u);

    Bytes buffer(1312);
    sim.Poke(conv, kDdeItemName, DriverMessage(1312));
    EXPECT_EQ(link.Receive(buffer.data(), 1312, 5000), kLinkOpen);
    EXPECT_EQ(link.receivedLength(), 1312u);
    EXPECT_EQ(buffer, DriverMessage(1312));
}

// The callback's answers to the transactions the link does not act on.
TEST_F(DriverLinkTest, OtherTransactions) {
    struct Case {
        std::uint32_t type;
        platform::DdeData result;
    };
    const Case cases[] = {
        {platform::kXtypAdvStart, 1},    {platform::kXtypAdvStop, 1},
        {platform::kXtypWildConnect, 0}, {platform::kXtypRegister, 0},
        {platform::kXtypError, 0},       {platform::kXtypXactComplete, 0},
        {platform::kXtypAdvData, 0},     {platform::kXtypExecute, 0},
        {platform::kXtypRequest, 0},     {platform::kXtypConnectConfirm, 0},
    };
    link.Open();
    const std::size_t conv = sim.Connect(kDdeServiceName, kDdeTopicName);
    for (const Case& c : cases) {
        sim.SendRaw(conv, c.type, "Other");
    }
    const std::size_t callbacksBefore = sim.callbackCount();
    EXPECT_FALSE(sim.PumpMessages());
    ASSERT_EQ(sim.rawResults().size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(sim.rawResults()[i], cases[i].result) << std::hex << cases[i].type;
    }
    // Executes and requests never reach the callback (the flags refuse them).
    EXPECT_EQ(sim.callbackCount() - callbacksBefore, 1 + std::size(cases) - 2);
    EXPECT_EQ(link.status(), kLinkOpen);
}

// Failures inside the callback during the receive end ReceiveSettings with false and leave the
// outputs alone; wildcard connections are refused without a failure.
TEST_F(DriverLinkTest, CallbackFailuresDuringTheReceive) {
    struct Case {
        const char* name;
        std::string topic;
        std::string item;
        bool failAccess;
        int status;
        State state;
        platform::DdeData pokeResult;
    };
    const Case cases[] = {
        {"other topic", "SYSTEM", "Data", false, kLinkWrongTopic, State::Refused, 0},
        {"other item", "DDI", "Status", false, kLinkWrongItem, State::Connected, 0},
        {"data not accessible", "DDI", "Data", true, kLinkPokeNotAccessible, State::Connected, 0},
        {"topic in other case", "ddi", "DATA", false, kLinkOpen, State::Connected,
         platform::kDdeFack},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedDdeml sim;
        DriverLink link(sim, sim);
        sim.failures.accessData = c.failAccess;
        const std::size_t wild = sim.Connect(kDdeServiceName, "");
        const std::size_t conv = sim.Connect(kDdeServiceName, c.topic);
        if (c.state == State::Connected) {
            sim.Poke(conv, c.item, DriverMessage(1312));
        }
        std::int32_t owner = 77;
        PrinterSettingsBlock block;
        EXPECT_EQ(link.ReceiveSettings(owner, block), c.status == kLinkOpen);
        EXPECT_EQ(link.status(), c.status);
        EXPECT_EQ(sim.conversation(wild).state, State::Refused);
        EXPECT_EQ(sim.conversation(conv).state, c.state);
        if (c.state == State::Connected) {
            EXPECT_EQ(sim.conversation(conv).pokeResults,
                      std::vector<platform::DdeData>{c.pokeResult});
        }
        EXPECT_EQ(owner, c.status == kLinkOpen ? kDriverOwner : 77);
        EXPECT_EQ(sim.now(), 0u); // ended at once, not by the time-out
    }
}

// How a wait ends: the event, any WM_TIMER of the thread, or a failed retrieval; WM_QUIT alone
// does not end it, and a disconnect without a poke is no settings message.
TEST_F(DriverLinkTest, WaitEndings) {
    struct Case {
        const char* name;
        std::function<void(SimulatedDdeml&)> driver;
        bool received;
        int status;
        std::uint32_t endsAt; // virtual time
    };
    const Case cases[] = {
        {"poke after a stray WM_QUIT",
         [](SimulatedDdeml& sim) {
             sim.WhenIdle([&sim] { sim.PostToThread(sim.CurrentThreadId(), 0x12, 0, 0); });
             sim.WhenIdle([&sim] {
                 sim.Poke(sim.Connect(kDdeServiceName, kDdeTopicName), kDdeItemName,
                          DriverMessage(1312));
             });
         },
         true, kLinkOpen, 0},
        {"another timer of the thread",
         [](SimulatedDdeml& sim) { sim.WhenIdle([&sim] { sim.PostTimerMessage(0x4242); }); }, false,
         kLinkTimedOut, 0},
        {"no driver", [](SimulatedDdeml&) {}, false, kLinkTimedOut, 5000},
        {"retrieval error", [](SimulatedDdeml& sim) { sim.failures.getMessageErrors = 1; }, false,
         kLinkOpen, 0},
        {"disconnect before any poke",
         [](SimulatedDdeml& sim) { sim.Disconnect(sim.Connect(kDdeServiceName, kDdeTopicName)); },
         false, kLinkOpen, 0},
        {"no timer", [](SimulatedDdeml& sim) { sim.failures.setTimer = true; }, false,
         kLinkTimedOut, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedDdeml sim;
        DriverLink link(sim, sim);
        c.driver(sim);
        std::int32_t owner = 77;
        PrinterSettingsBlock block;
        EXPECT_EQ(link.ReceiveSettings(owner, block), c.received);
        EXPECT_EQ(link.status(), c.status);
        EXPECT_EQ(sim.now(), c.endsAt);
        EXPECT_EQ(sim.activeTimers(), 0u);
        EXPECT_FALSE(sim.blockedForever());
    }
}

// The receive waits 5000 ms of the link's own timer.
TEST_F(DriverLinkTest, ReceiveTimesOutAfterFiveSeconds) {
    EXPECT_FALSE(Receive());
    EXPECT_EQ(sim.lastTimerElapse(), 5000u);
    EXPECT_EQ(sim.now(), 5000u);
    EXPECT_EQ(owner, 0);
}

// A disconnect signals the waiting link and posts WM_QUIT, which ends a modal loop.
TEST_F(DriverLinkTest, DisconnectWhileTheSheetIsShown) {
    const std::size_t conv = Driver({DriverMessage(1312)});
    ASSERT_TRUE(Receive());
    sim.Disconnect(conv);
    EXPECT_TRUE(sim.PumpMessages());
    EXPECT_EQ(link.status(), kLinkOpen);
}

// The answers byte for byte, through the first advise link; the link is then closed with
// everything released.
TEST_F(DriverLinkTest, Answers) {
    struct Case {
        const char* name;
        bool ok;
        Bytes expected;
    };
    PrinterSettingsBlock edited;
    for (std::size_t i = 0; i < edited.size(); ++i) {
        edited.data()[i] = static_cast<std::uint8_t>(i ^ 0x5A);
    }
    Bytes okMessage = {0x20, 0x05, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
    okMessage.insert(okMessage.end(), edited.data(), edited.data() + edited.size());
    const Case cases[] = {
        {"OK", true, okMessage},
        {"Cancel", false, {8, 0, 0, 0, 2, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimulatedDdeml sim;
        DriverLink link(sim, sim);
        const std::size_t conv = sim.Connect(kDdeServiceName, kDdeTopicName);
        sim.StartAdvise(conv, kDdeItemName, 0xFFFFC000u);
        sim.Poke(conv, kDdeItemName, DriverMessage(1312));
        std::int32_t owner = 0;
        PrinterSettingsBlock block;
        ASSERT_TRUE(link.ReceiveSettings(owner, block));
        sim.WhenIdle([&] { sim.Disconnect(conv); });
        EXPECT_TRUE(c.ok ? link.SendSettings(edited) : link.SendCancel());

        const auto& links = sim.conversation(conv).links;
        ASSERT_EQ(links.size(), 1u);
        ASSERT_EQ(links[0].deliveries.size(), 1u);
        ASSERT_TRUE(links[0].deliveries[0].has_value());
        EXPECT_EQ(*links[0].deliveries[0], c.expected);
        EXPECT_EQ(sim.lastDataItem(), "Data");
        EXPECT_EQ(sim.lastDataFormat(), sim.RegisterFormat("VELA40PSFMT"));
        EXPECT_LT(sim.now(), kDriverWaitMs); // the disconnect ended the wait

        EXPECT_EQ(link.status(), kLinkClosed);
        EXPECT_FALSE(link.usable());
        EXPECT_FALSE(sim.isServiceRegistered(kDdeServiceName));
        EXPECT_EQ(sim.liveInstances(), 0u);
        EXPECT_EQ(sim.stringHandlesLeftAtUninitialize(), 0u);
        EXPECT_EQ(sim.openEvents(), 0u);
        EXPECT_EQ(sim.activeTimers(), 0u);
        EXPECT_EQ(sim.liveDataHandles(), 0u);
    }
}

// With two advise links the first request consumes the message and the second gets no bytes.
TEST_F(DriverLinkTest, TwoAdviseLinks) {
    const std::size_t first = Driver({DriverMessage(1312)});
    const std::size_t second = sim.Connect(kDdeServiceName, kDdeTopicName);
    sim.StartAdvise(second, kDdeItemName, 0xFFFFC000u);
    ASSERT_TRUE(Receive());
    EXPECT_FALSE(sim.PumpMessages()); // the second driver's advise start
    EXPECT_TRUE(link.SendCancel());
    const auto& a = sim.conversation(first).links.at(0).deliveries;
    const auto& b = sim.conversation(second).links.at(0).deliveries;
    ASSERT_EQ(a.size(), 1u);
    ASSERT_EQ(b.size(), 1u);
    ASSERT_TRUE(a[0].has_value() && b[0].has_value());
    EXPECT_EQ(a[0]->size(), 8u);
    EXPECT_TRUE(b[0]->empty());
}

// Send with a time-out of 0 delivers and returns 0 without waiting. Nothing stays pending once
// Send returns: a deferred advise request (DDEML holds them back while a client has not
// acknowledged earlier data) gets no bytes.
TEST_F(DriverLinkTest, SendWithoutWaiting) {
    link.Open();
    std::vector<std::uint8_t> early = {1, 2, 3, 4};
    EXPECT_EQ(link.Send(early.data(), 4, 0), 0); // no advise link yet
    early.clear();
    early.shrink_to_fit();
    const std::size_t conv = Driver({});
    sim.SendRaw(conv, platform::kXtypAdvReq, kDdeItemName);
    EXPECT_FALSE(sim.PumpMessages());
    ASSERT_EQ(sim.rawResults().size(), 1u);
    std::uint32_t size = 99;
    EXPECT_NE(sim.AccessData(sim.rawResults()[0], &size), nullptr);
    EXPECT_EQ(size, 0u);

    const std::uint8_t data[3] = {9, 8, 7};
    EXPECT_EQ(link.Send(data, sizeof data, 0), 0);
    EXPECT_EQ(link.Send(nullptr, 0, 0), 0);
    EXPECT_EQ(sim.lastTimerElapse(), 0u);
    const auto& deliveries = sim.conversation(conv).links.at(0).deliveries;
    ASSERT_EQ(deliveries.size(), 2u);
    EXPECT_EQ(*deliveries[0], Bytes({9, 8, 7}));
    EXPECT_EQ(*deliveries[1], Bytes());
}

// Failures of the advise request: raised from Send, and the wrappers close the link all the
// same; a driver that never disconnects only ends the wait by time-out.
TEST_F(DriverLinkTest, SendFailures) {
    link.Open();
    const std::size_t conv = Driver({});
    EXPECT_FALSE(sim.PumpMessages());
    EXPECT_EQ(RaisedCode([&] { link.Send(nullptr, 8, 0); }), kLinkNoPendingData);
    EXPECT_FALSE(sim.conversation(conv).links.at(0).deliveries.at(0).has_value());
    link.Close();

    SimulatedDdeml other;
    DriverLink failing(other, other);
    const std::size_t driver = other.Connect(kDdeServiceName, kDdeTopicName);
    other.StartAdvise(driver, kDdeItemName, 0);
    other.Poke(driver, kDdeItemName, DriverMessage(1312));
    ASSERT_TRUE(failing.ReceiveSettings(owner, block));
    other.failures.createDataHandle = true;
    EXPECT_FALSE(failing.SendSettings(block));
    EXPECT_EQ(failing.status(), kLinkClosed);
    EXPECT_EQ(other.liveInstances(), 0u);

    // No disconnect: the answer is delivered, the wait times out, the link is closed.
    const std::size_t late = Driver({DriverMessage(1312)});
    ASSERT_TRUE(Receive());
    EXPECT_TRUE(link.SendSettings(block));
    EXPECT_EQ(sim.conversation(late).links.at(0).deliveries.size(), 1u);
    EXPECT_EQ(link.status(), kLinkClosed);
}

// While the sheet is shown no operation waits on the link: a stranger's connection is refused
// and leaves the link as it was, so the driver's later transactions go through and its answer
// is sent.
TEST_F(DriverLinkTest, CallbackFailureWhileTheSheetIsShown) {
    const std::size_t conv = Driver({DriverMessage(1312)});
    ASSERT_TRUE(Receive());
    const std::size_t stranger = sim.Connect(kDdeServiceName, "SYSTEM");
    sim.Poke(conv, kDdeItemName, DriverMessage(1312));
    EXPECT_FALSE(sim.PumpMessages());
    EXPECT_EQ(sim.conversation(stranger).state, State::Refused);
    EXPECT_EQ(sim.conversation(conv).pokeResults.back(), platform::kDdeFack);
    EXPECT_EQ(link.status(), kLinkOpen);
    EXPECT_TRUE(link.SendSettings(block));
    EXPECT_EQ(sim.conversation(conv).links.at(0).deliveries.size(), 1u);
    EXPECT_EQ(link.status(), kLinkClosed);
}

// A connection that finds a handle missing is refused with -1, raised by the next operation.
TEST_F(DriverLinkTest, ConnectionWithAMissingHandle) {
    sim.failures.createEvent = true;
    link.Open();
    const std::size_t conv = sim.Connect(kDdeServiceName, kDdeTopicName);
    EXPECT_FALSE(sim.PumpMessages());
    EXPECT_EQ(sim.conversation(conv).state, State::Refused);
    EXPECT_EQ(RaisedCode([&] { link.Send(nullptr, 0, 0); }), kLinkMissingHandle);
}

// Close returns to status 1 and a second exchange in the same process works.
TEST_F(DriverLinkTest, ReopenAfterClose) {
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        const std::size_t conv = Driver({DriverMessage(1312, round)});
        ASSERT_TRUE(Receive());
        EXPECT_EQ(owner, round);
        sim.WhenIdle([&] { sim.Disconnect(conv); });
        EXPECT_TRUE(link.SendCancel());
        EXPECT_EQ(link.status(), kLinkClosed);
        EXPECT_EQ(sim.conversation(conv).links.at(0).deliveries.size(), 1u);
    }
    EXPECT_EQ(sim.liveInstances(), 0u);
}

// A link that goes away closes what it holds.
TEST_F(DriverLinkTest, DestructionCloses) {
    SimulatedDdeml other;
    {
        DriverLink scoped(other, other);
        scoped.Open();
        EXPECT_EQ(other.liveInstances(), 1u);
    }
    EXPECT_EQ(other.liveInstances(), 0u);
    EXPECT_EQ(other.openEvents(), 0u);
    EXPECT_FALSE(other.isServiceRegistered(kDdeServiceName));
}

} // namespace
} // namespace app
