#pragma once
// A portable DDEML and thread message queue that tests drive. The server side is the Ddeml and
// MessageQueue interfaces; the test plays the client (the driver): it connects, starts advise
// links, pokes and disconnects. Like real DDE, a client's action reaches the server as a
// message, and the server's callback runs when that message is handled: a connection request is
// a sent message, handled inside GetThreadMessage, which then goes on looking for a posted
// message; the other actions are posted and handled when dispatched. Time is virtual: a
// timer fires when the test posts its WM_TIMER, or when the server waits on an empty queue with
// nothing left for the client to do (the clock then jumps to the timer's due time).
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/ddeml.h"

namespace platform {

class SimulatedDdeml final : public Ddeml, public MessageQueue {
public:
    // What fails on purpose.
    struct Failures {
        bool createEvent = false;
        bool registerFormat = false;
        bool initialize = false;
        std::string stringHandle; // creating a handle for this text fails (any case)
        bool nameService = false;
        bool setTimer = false;
        bool createDataHandle = false;
        bool accessData = false;
        int getMessageErrors = 0; // so many GetThreadMessage calls return -1
    };

    enum class ConversationState { Pending, Connected, Refused, Disconnected };

    // One advise link the client asked for, and what the server's advise requests delivered:
    // the bytes of each data handle, or nothing when the callback returned no handle.
    struct AdviseLink {
        std::string item;
        std::uint32_t format = 0;
        bool accepted = false;
        std::vector<std::optional<std::vector<std::uint8_t>>> deliveries;
    };

    // The client's view of one conversation.
    struct Conversation {
        std::string service;
        std::string topic;
        ConversationState state = ConversationState::Pending;
        DdeConversation handle = 0;
        DdeInstance server = 0;
        std::vector<AdviseLink> links;
        std::vector<DdeData> pokeResults; // the callback's answer to each poke, in order
    };

    static constexpr std::uint32_t kThreadId = 1;
    static constexpr WindowHandle kDdeWindow = 0xDDE0;
    static constexpr std::uint32_t kDdeMessage = 0x03E0; // WM_DDE_FIRST

    SimulatedDdeml() = default;
    SimulatedDdeml(const SimulatedDdeml&) = delete;
    SimulatedDdeml& operator=(const SimulatedDdeml&) = delete;

    Failures failures;

    // Ddeml
    std::uint32_t RegisterFormat(const char* name) override;
    std::uint32_t Initialize(DdeInstance* instance, DdeTransactionHandler* handler,
                             std::uint32_t flags) override;
    bool Uninitialize(DdeInstance instance) override;
    DdeString CreateStringHandle(DdeInstance instance, const char* text, int codePage) override;
    bool FreeStringHandle(DdeInstance instance, DdeString handle) override;
    int CompareStringHandles(DdeString a, DdeString b) override;
    DdeData NameService(DdeInstance instance, DdeString service, std::uint32_t command) override;
    bool PostAdvise(DdeInstance instance, DdeString topic, DdeString item) override;
    DdeData CreateDataHandle(DdeInstance instance, const void* source, std::uint32_t size,
                             std::uint32_t offset, DdeString item, std::uint32_t format,
                             std::uint32_t flags) override;
    const std::uint8_t* AccessData(DdeData data, std::uint32_t* size) override;
    bool UnaccessData(DdeData data) override;

    // MessageQueue
    EventHandle CreateManualResetEvent() override;
    bool CloseEvent(EventHandle event) override;
    bool SetEvent(EventHandle event) override;
    bool ResetEvent(EventHandle event) override;
    bool IsEventSet(EventHandle event) override;
    TimerId SetTimer(std::uint32_t elapseMs) override;
    bool KillTimer(TimerId timer) override;
    int GetThreadMessage(ThreadMessage* message) override;
    bool TranslateThreadMessage(const ThreadMessage& message) override;
    std::intptr_t DispatchThreadMessage(const ThreadMessage& message) override;
    std::uint32_t CurrentThreadId() override { return kThreadId; }
    bool PostToThread(std::uint32_t threadId, std::uint32_t message, std::uintptr_t wParam,
                      std::intptr_t lParam) override;

    // The client. Each call queues one action and returns at once; the conversation index
    // returned by Connect names the conversation in later calls. An empty service or topic
    // asks for a wildcard connection.
    std::size_t Connect(const std::string& service, const std::string& topic);
    void StartAdvise(std::size_t conversation, const std::string& item, std::uint32_t format);
    void Poke(std::size_t conversation, const std::string& item, std::vector<std::uint8_t> data,
              std::uint32_t format = 0);
    void Disconnect(std::size_t conversation);
    // Any transaction type on a conversation (string1 the topic, string2 `item`); the callback's
    // result goes to rawResults().
    void SendRaw(std::size_t conversation, std::uint32_t type, const std::string& item);
    const Conversation& conversation(std::size_t index) const { return conversations_.at(index); }
    const std::vector<DdeData>& rawResults() const { return rawResults_; }

    // Runs `action` the next time the server looks for a message and finds its queue empty:
    // the client's turn while the server waits. One action per empty queue, in order.
    void WhenIdle(std::function<void()> action);
    // Queues a WM_TIMER of `timer`, which need not be a timer the server set.
    void PostTimerMessage(TimerId timer);
    // Fires due timers until the clock has moved on by `ms`.
    void AdvanceTime(std::uint32_t ms);
    // Stands for a modal loop of the server's thread (a property sheet): retrieves and
    // dispatches queued messages until the queue is empty or WM_QUIT is retrieved. True when
    // WM_QUIT ended it. Runs no idle action and fires no timer.
    bool PumpMessages();

    // What happened.
    std::uint32_t initializeFlags() const { return initializeFlags_; }
    std::uint32_t now() const { return now_; }
    std::uint32_t lastTimerElapse() const { return lastTimerElapse_; }
    std::size_t activeTimers() const { return timers_.size(); }
    std::size_t openEvents() const { return events_.size(); }
    std::size_t liveInstances() const { return instances_.size(); }
    // String handles the instance holds and has not freed.
    std::size_t liveStringHandles(DdeInstance instance) const;
    // String handle references still held by instances when they were uninitialised.
    std::size_t stringHandlesLeftAtUninitialize() const { return leftAtUninitialize_; }
    std::size_t liveDataHandles() const { return data_.size(); }
    // Data handles accessed and not unaccessed when DDEML took them back.
    std::size_t dataLeftAccessed() const { return leftAccessed_; }
    bool isServiceRegistered(const std::string& service) const;
    // The code page the server last created a handle for `text` with (-1: never).
    int codePageOf(const std::string& text) const;
    // The item and format of the last data handle the server created.
    std::string lastDataItem() const { return lastDataItem_; }
    std::uint32_t lastDataFormat() const { return lastDataFormat_; }
    std::size_t queuedMessages() const { return queue_.size(); }
    std::size_t pendingIdleActions() const { return idle_.size(); }
    std::size_t callbackCount() const { return callbacks_; }
    // True once the server looked for a message with nothing that could ever arrive (empty
    // queue, no client action, no timer): a real thread would have blocked for good.
    bool blockedForever() const { return blockedForever_; }

private:
    struct Instance {
        DdeTransactionHandler* handler = nullptr;
        std::uint32_t flags = 0;
        std::set<std::string> services; // upper-cased
    };
    struct StringEntry {
        std::string text;
        std::map<DdeInstance, int> references;
    };
    struct DataEntry {
        std::unique_ptr<std::uint8_t[]> bytes;
        std::uint32_t size = 0;
        int accessed = 0;
    };
    enum class ActionKind { Connect, StartAdvise, Poke, Disconnect, Raw };
    struct Action {
        ActionKind kind;
        std::size_t conversation;
        std::string item;
        std::vector<std::uint8_t> data;
        std::uint32_t format = 0;
    };
    struct Timer {
        std::uint32_t elapse;
        std::uint32_t due;
    };

    static std::string Upper(const std::string& text);
    void Post(const ThreadMessage& message);
    // A connection request: handled while retrieving, never returned.
    bool IsSent(const ThreadMessage& message) const;
    std::size_t Queue(Action action);
    void Run(const Action& action);
    void RunConnect(std::size_t conversation);
    DdeData Call(DdeInstance instance, const DdeTransaction& transaction);
    DdeString ClientString(const std::string& text);
    void ReleaseClientString(DdeString handle);
    const std::string* TextOf(DdeString handle) const;
    DdeData NewData(std::uint32_t size);
    void ReleaseData(DdeData data);
    bool FireNextTimer();

    std::map<DdeInstance, Instance> instances_;
    DdeInstance nextInstance_ = 1;
    std::uint32_t initializeFlags_ = 0;
    std::map<DdeString, StringEntry> strings_;
    DdeString nextString_ = 0xC100;
    std::map<DdeData, DataEntry> data_;
    DdeData nextData_ = 0x5000;
    std::map<std::string, std::uint32_t> formats_;
    std::map<EventHandle, bool> events_;
    EventHandle nextEvent_ = 0x100;
    std::map<TimerId, Timer> timers_;
    TimerId nextTimer_ = 0x7F00;
    std::uint32_t lastTimerElapse_ = 0;
    std::uint32_t now_ = 0;
    std::deque<ThreadMessage> queue_;
    std::deque<std::function<void()>> idle_;
    std::vector<Action> actions_;
    std::vector<Conversation> conversations_;
    DdeConversation nextConversation_ = 0xC0;
    std::vector<DdeData> rawResults_;
    std::map<std::string, int> codePages_;
    std::string lastDataItem_;
    std::uint32_t lastDataFormat_ = 0;
    std::size_t leftAtUninitialize_ = 0;
    std::size_t leftAccessed_ = 0;
    std::size_t callbacks_ = 0;
    bool blockedForever_ = false;
};

} // namespace platform
