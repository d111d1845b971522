// The driver link against a real DDEML client: a second thread initialises its own DDEML
// instance and behaves as the driver does (connect, advise start with the sign-extended format,
// synchronous pokes, wait for the answer, disconnect).
#include <windows.h>

#include <ddeml.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "app/driver_link.h"
#include "app/settings_message.h"
#include "platform/ddeml.h"

namespace app {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::int32_t kDriverOwner = 0x00010203;

Bytes DriverMessage(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 11 + 1);
    }
    const std::int32_t header[3] = {1312, 1, kDriverOwner};
    if (size > 0) {
        std::memcpy(bytes.data(), header, std::min<std::size_t>(size, sizeof header));
    }
    return bytes;
}

struct ClientScript {
    std::string topic = kDdeTopicName;
    std::string pokeItem = kDdeItemName;
    std::vector<Bytes> pokes;
    int adviseLinks = 1;          // conversations, each with an advise link on "Data"
    bool retryConnect = true;     // until the server is up; else a single attempt
    bool disconnectEarly = false; // right after the pokes, without waiting for the answer
};

struct ClientOutcome {
    int connected = 0;
    std::vector<bool> pokesAcknowledged;
    std::vector<bool> answered; // per conversation
    std::vector<Bytes> answers;
    std::vector<UINT> answerFormats;
    std::atomic<bool> finished{false};
};

// The client thread's state, for its callback (DDEML calls it on that thread only).
thread_local ClientOutcome* t_outcome = nullptr;
thread_local std::vector<HCONV>* t_conversations = nullptr;

HDDEDATA CALLBACK ClientCallback(UINT type, UINT format, HCONV conversation, HSZ, HSZ,
                                 HDDEDATA data, ULONG_PTR, ULONG_PTR) {
    if (type != XTYP_ADVDATA || t_outcome == nullptr) {
        return nullptr;
    }
    const auto found = std::find(t_conversations->begin(), t_conversations->end(), conversation);
    if (found == t_conversations->end()) {
        return reinterpret_cast<HDDEDATA>(DDE_FNOTPROCESSED);
    }
    const std::size_t index = static_cast<std::size_t>(found - t_conversations->begin());
    const DWORD size = DdeGetData(data, nullptr, 0, 0);
    Bytes bytes(size);
    if (size > 0) {
        DdeGetData(data, bytes.data(), size, 0);
    }
    t_outcome->answers[index] = std::move(bytes);
    t_outcome->answerFormats[index] = format;
    t_outcome->answered[index] = true;
    return reinterpret_cast<HDDEDATA>(DDE_FACK);
}

// One DDEML instance of the client with its names (DDEML allows one conversation per instance
// on the same service and topic, so each advise link comes from an instance of its own).
struct ClientInstance {
    DWORD id = 0;
    HSZ service = nullptr;
    HSZ topic = nullptr;
    HSZ item = nullptr;
    HSZ pokeItem = nullptr;
};

void RunClient(const ClientScript& script, ClientOutcome* outcome) {
    std::vector<ClientInstance> instances;
    std::vector<HCONV> conversations;
    t_outcome = outcome;
    t_conversations = &conversations;
    outcome->answered.assign(script.adviseLinks, false);
    outcome->answers.assign(script.adviseLinks, Bytes());
    outcome->answerFormats.assign(script.adviseLinks, 0);
    // Advise links start with the registered format sign-extended, as a driver does.
    const UINT format =
        static_cast<UINT>(static_cast<short>(RegisterClipboardFormatA(kDdeFormatName)));

    for (int link = 0; link < script.adviseLinks; ++link) {
        ClientInstance instance;
        if (DdeInitializeA(&instance.id, ClientCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
            break;
        }
        instance.service = DdeCreateStringHandleA(instance.id, kDdeServiceName, CP_WINANSI);
        instance.topic = DdeCreateStringHandleA(instance.id, script.topic.c_str(), CP_WINANSI);
        instance.item = DdeCreateStringHandleA(instance.id, kDdeItemName, CP_WINANSI);
        instance.pokeItem =
            DdeCreateStringHandleA(instance.id, script.pokeItem.c_str(), CP_WINANSI);
        instances.push_back(instance);
        HCONV conversation = nullptr;
        for (int attempt = 0; attempt < 400 && conversation == nullptr; ++attempt) {
            conversation = DdeConnect(instance.id, instance.service, instance.topic, nullptr);
            if (conversation == nullptr && !script.retryConnect) {
                break;
            }
            if (conversation == nullptr) {
                Sleep(10);
            }
        }
        if (conversation == nullptr) {
            break;
        }
        ++outcome->connected;
        conversations.push_back(conversation);
        DWORD result = 0;
        DdeClientTransaction(nullptr, 0, conversation, instance.item, format, XTYP_ADVSTART, 5000,
                             &result);
    }
    if (!conversations.empty()) {
        for (const Bytes& poke : script.pokes) {
            BYTE empty = 0;
            BYTE* bytes = poke.empty() ? &empty : const_cast<BYTE*>(poke.data());
            DWORD result = 0;
            const HDDEDATA acknowledged =
                DdeClientTransaction(bytes, static_cast<DWORD>(poke.size()), conversations[0],
                                     instances[0].pokeItem, format, XTYP_POKE, 5000, &result);
            outcome->pokesAcknowledged.push_back(acknowledged != nullptr);
        }
        if (!script.disconnectEarly) {
            // The answer comes through the advise links, all in the same burst: wait for the
            // first (bounded by a timer of this thread), then take what else is queued. (Wine
            // sends a link that gets no bytes a data message without data, which the callback
            // never sees.)
            const UINT_PTR timer = SetTimer(nullptr, 0, 8000, nullptr);
            MSG msg;
            while (std::count(outcome->answered.begin(), outcome->answered.end(), true) == 0 &&
                   GetMessageA(&msg, nullptr, 0, 0) > 0) {
                if (msg.message == WM_TIMER && msg.wParam == timer) {
                    break;
                }
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            KillTimer(nullptr, timer);
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        for (HCONV conversation : conversations) {
            DdeDisconnect(conversation);
        }
    }
    for (const ClientInstance& instance : instances) {
        for (HSZ handle : {instance.service, instance.topic, instance.item, instance.pokeItem}) {
            DdeFreeStringHandle(instance.id, handle);
        }
        DdeUninitialize(instance.id);
    }
    t_outcome = nullptr;
    t_conversations = nullptr;
    outcome->finished = true;
}

// Drains this thread's queue, sent messages included.
void DispatchPending() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The client's DDEML sends messages to this thread's DDE windows (connection requests, name
// service notices) until it has ended, so this thread keeps dispatching while it waits for it;
// bounded to about ten seconds.
void JoinClient(std::thread& client, const ClientOutcome& outcome) {
    for (int round = 0; round < 2000 && !outcome.finished; ++round) {
        DispatchPending();
        Sleep(5);
    }
    client.join();
}

PrinterSettingsBlock EditedBlock() {
    PrinterSettingsBlock block;
    for (std::size_t i = 0; i < block.size(); ++i) {
        block.data()[i] = static_cast<std::uint8_t>(0xA5 ^ i);
    }
    return block;
}

Bytes Expected(bool ok) {
    if (!ok) {
        const CancelMessageBytes cancel = BuildCancelMessage();
        return Bytes(cancel.begin(), cancel.end());
    }
    const SettingsMessageBytes message = BuildSettingsMessage(EditedBlock());
    return Bytes(message.begin(), message.end());
}

// Whole exchanges: what the link receives from the pokes, and what each advise link gets.
TEST(DdeLink, Exchanges) {
    struct Case {
        const char* name;
        ClientScript script;
        bool received;
        std::size_t stored; // bytes of the driver's message taken
        bool ok;            // answer with the settings, else cancel
    };
    const Case cases[] = {
        {"settings", {.pokes = {DriverMessage(1312)}}, true, 1312, true},
        {"cancel", {.pokes = {DriverMessage(1312)}}, true, 1312, false},
        {"ignored pokes first",
         {.pokes = {DriverMessage(28), DriverMessage(0), DriverMessage(1312)}},
         true,
         1312,
         true},
        {"long poke", {.pokes = {DriverMessage(1400)}}, true, 1312, false},
        {"short poke", {.pokes = {DriverMessage(100)}}, true, 100, false},
        {"two advise links", {.pokes = {DriverMessage(1312)}, .adviseLinks = 2}, true, 1312, true},
        {"disconnect before any poke", {.pokes = {}, .disconnectEarly = true}, false, 0, false},
        {"poke on another item",
         {.pokeItem = "Status", .pokes = {DriverMessage(1312)}, .disconnectEarly = true},
         false,
         0,
         false},
    };
    DriverLink link(platform::SystemDdeml(), platform::SystemMessageQueue());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClientOutcome outcome;
        std::thread client(RunClient, c.script, &outcome);
        std::int32_t owner = 77;
        PrinterSettingsBlock block;
        const bool received = link.ReceiveSettings(owner, block);
        EXPECT_EQ(received, c.received);
        if (received) {
            const Bytes sent = DriverMessage(c.stored);
            EXPECT_EQ(owner, kDriverOwner);
            for (std::size_t i = 0; i < block.size(); ++i) {
                const std::uint8_t expected = 12 + i < c.stored ? sent[12 + i] : 0;
                ASSERT_EQ(block.data()[i], expected) << "block byte " << i;
            }
            EXPECT_TRUE(c.ok ? link.SendSettings(EditedBlock()) : link.SendCancel());
        } else {
            link.Close();
        }
        JoinClient(client, outcome);
        EXPECT_EQ(link.status(), kLinkClosed);
        EXPECT_EQ(outcome.connected, c.script.adviseLinks);
        if (!received) {
            continue;
        }
        EXPECT_EQ(outcome.pokesAcknowledged, std::vector<bool>(c.script.pokes.size(), true));
        // The first advise request takes the message; any other gets no bytes.
        ASSERT_EQ(outcome.answers.size(), static_cast<std::size_t>(c.script.adviseLinks));
        int full = 0;
        for (std::size_t i = 0; i < outcome.answers.size(); ++i) {
            if (!outcome.answers[i].empty()) {
                ++full;
                EXPECT_EQ(outcome.answers[i], Expected(c.ok));
                EXPECT_EQ(outcome.answerFormats[i] & 0xFFFF,
                          RegisterClipboardFormatA(kDdeFormatName) & 0xFFFF);
            }
        }
        EXPECT_EQ(full, 1);
    }
}

// A connection on another topic is refused and raised from the receive.
TEST(DdeLink, AnotherTopicFailsTheReceive) {
    DriverLink link(platform::SystemDdeml(), platform::SystemMessageQueue());
    link.Open();
    ClientOutcome outcome;
    ClientScript script;
    script.topic = "SYSTEM";
    script.retryConnect = false;
    std::thread client(RunClient, script, &outcome);
    Bytes buffer(kSettingsMessageSize);
    int raised = 0;
    try {
        link.Receive(buffer.data(), kSettingsMessageSize, kDriverWaitMs);
    } catch (const DriverLinkError& error) {
        raised = error.code();
    }
    JoinClient(client, outcome);
    EXPECT_EQ(raised, kLinkWrongTopic);
    EXPECT_EQ(outcome.connected, 0);
    link.Close();
    EXPECT_EQ(link.status(), kLinkClosed);
}

// With no driver the receive ends by its time-out.
TEST(DdeLink, NoDriverTimesOut) {
    DriverLink link(platform::SystemDdeml(), platform::SystemMessageQueue());
    link.Open();
    EXPECT_TRUE(link.usable());
    Bytes buffer(kSettingsMessageSize);
    EXPECT_EQ(link.Receive(buffer.data(), kSettingsMessageSize, 50), kLinkTimedOut);
    link.Close();
}

// The driver disconnecting while the sheet is shown posts WM_QUIT to the thread, which ends
// the sheet's modal loop (stood for here by a plain message loop).
TEST(DdeLink, DisconnectEndsAModalLoop) {
    DispatchPending(); // nothing left over from earlier tests
    DriverLink link(platform::SystemDdeml(), platform::SystemMessageQueue());
    ClientOutcome outcome;
    ClientScript script;
    script.pokes = {DriverMessage(1312)};
    script.disconnectEarly = true;
    std::thread client(RunClient, script, &outcome);
    std::int32_t owner = 0;
    PrinterSettingsBlock block;
    ASSERT_TRUE(link.ReceiveSettings(owner, block));
    const UINT_PTR timer = SetTimer(nullptr, 0, 8000, nullptr);
    MSG msg;
    bool quit = false;
    while (!quit) {
        const BOOL result = GetMessageA(&msg, nullptr, 0, 0);
        if (result == 0) {
            quit = true;
        } else if (result == -1 || (msg.message == WM_TIMER && msg.wParam == timer)) {
            break;
        } else {
            DispatchMessageA(&msg);
        }
    }
    KillTimer(nullptr, timer);
    JoinClient(client, outcome);
    EXPECT_TRUE(quit);
    EXPECT_EQ(link.status(), kLinkOpen);
    link.Close();
}

} // namespace
} // namespace app
