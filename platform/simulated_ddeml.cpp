#include "platform/simulated_ddeml.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace platform {

namespace {

constexpr std::uint32_t kDmlErrInvalidParameter = 0x4006;
constexpr std::uint32_t kUserTimerMinimum = 10;
constexpr int kCpWinUnicode = 1200;
// String handles the client holds belong to no server instance.
constexpr DdeInstance kClientInstance = 0xFFFFFFFFu;

} // namespace

std::string SimulatedDdeml::Upper(const std::string& text) {
    std::string upper = text;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

// ---- Ddeml ----

std::uint32_t SimulatedDdeml::RegisterFormat(const char* name) {
    if (failures.registerFormat || name == nullptr || *name == '\0') {
        return 0;
    }
    const std::string key = Upper(name);
    auto found = formats_.find(key);
    if (found != formats_.end()) {
        return found->second;
    }
    const std::uint32_t id = 0xC000 + static_cast<std::uint32_t>(formats_.size());
    formats_.emplace(key, id);
    return id;
}

std::uint32_t SimulatedDdeml::Initialize(DdeInstance* instance, DdeTransactionHandler* handler,
                                         std::uint32_t flags) {
    if (instance == nullptr || *instance != 0 || handler == nullptr) {
        return kDmlErrInvalidParameter;
    }
    if (failures.initialize) {
        return kDmlErrSysError;
    }
    const DdeInstance id = nextInstance_++;
    instances_[id] = Instance{handler, flags, {}};
    initializeFlags_ = flags;
    *instance = id;
    return kDmlErrNoError;
}

bool SimulatedDdeml::Uninitialize(DdeInstance instance) {
    if (instances_.erase(instance) == 0) {
        return false;
    }
    for (Conversation& conv : conversations_) {
        if (conv.server == instance && conv.state == ConversationState::Connected) {
            conv.state = ConversationState::Disconnected;
        }
    }
    for (auto it = strings_.begin(); it != strings_.end();) {
        auto held = it->second.references.find(instance);
        if (held != it->second.references.end()) {
            leftAtUninitialize_ += static_cast<std::size_t>(held->second);
            it->second.references.erase(held);
        }
        it = it->second.references.empty() ? strings_.erase(it) : std::next(it);
    }
    return true;
}

DdeString SimulatedDdeml::CreateStringHandle(DdeInstance instance, const char* text, int codePage) {
    if (instance != kClientInstance && instances_.count(instance) == 0) {
        return 0;
    }
    if (text == nullptr || *text == '\0') {
        return 0;
    }
    if (codePage != 0 && codePage != kCpWinAnsi && codePage != kCpWinUnicode) {
        return 0;
    }
    const std::string key = Upper(text);
    if (!failures.stringHandle.empty() && key == Upper(failures.stringHandle)) {
        return 0;
    }
    if (instance != kClientInstance) {
        codePages_[key] = codePage;
    }
    for (auto& [handle, entry] : strings_) {
        if (Upper(entry.text) == key) {
            ++entry.references[instance];
            return handle;
        }
    }
    const DdeString handle = nextString_++;
    strings_[handle] = StringEntry{text, {{instance, 1}}};
    return handle;
}

bool SimulatedDdeml::FreeStringHandle(DdeInstance instance, DdeString handle) {
    auto found = strings_.find(handle);
    if (found == strings_.end()) {
        return false;
    }
    auto held = found->second.references.find(instance);
    if (held == found->second.references.end()) {
        return false;
    }
    if (--held->second == 0) {
        found->second.references.erase(held);
    }
    if (found->second.references.empty()) {
        strings_.erase(found);
    }
    return true;
}

int SimulatedDdeml::CompareStringHandles(DdeString a, DdeString b) {
    const std::string* textA = TextOf(a);
    const std::string* textB = TextOf(b);
    if (textA == nullptr || textB == nullptr) {
        return a < b ? -1 : (a > b ? 1 : 0);
    }
    const int order = Upper(*textA).compare(Upper(*textB));
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

DdeData SimulatedDdeml::NameService(DdeInstance instance, DdeString service,
                                    std::uint32_t command) {
    auto found = instances_.find(instance);
    if (found == instances_.end() || failures.nameService) {
        return 0;
    }
    if (command == kDnsUnregister && service == 0) {
        found->second.services.clear();
        return 1;
    }
    const std::string* text = TextOf(service);
    if (text == nullptr) {
        return 0;
    }
    if (command == kDnsRegister) {
        found->second.services.insert(Upper(*text));
        return 1;
    }
    if (command == kDnsUnregister) {
        found->second.services.erase(Upper(*text));
        return 1;
    }
    return 0;
}

bool SimulatedDdeml::PostAdvise(DdeInstance instance, DdeString topic, DdeString item) {
    if (instances_.count(instance) == 0) {
        return false;
    }
    const std::string* topicText = TextOf(topic);
    const std::string* itemText = TextOf(item);
    if ((topic != 0 && topicText == nullptr) || (item != 0 && itemText == nullptr)) {
        return false;
    }
    // The links to serve, fixed before the first request.
    std::vector<std::pair<std::size_t, std::size_t>> targets;
    for (std::size_t c = 0; c < conversations_.size(); ++c) {
        const Conversation& conv = conversations_[c];
        if (conv.server != instance || conv.state != ConversationState::Connected) {
            continue;
        }
        if (topicText != nullptr && Upper(conv.topic) != Upper(*topicText)) {
            continue;
        }
        for (std::size_t l = 0; l < conv.links.size(); ++l) {
            const AdviseLink& link = conv.links[l];
            if (link.accepted && (itemText == nullptr || Upper(link.item) == Upper(*itemText))) {
                targets.emplace_back(c, l);
            }
        }
    }
    for (std::size_t k = 0; k < targets.size(); ++k) {
        const auto [c, l] = targets[k];
        if (conversations_[c].state != ConversationState::Connected) {
            continue;
        }
        DdeTransaction request;
        request.type = kXtypAdvReq;
        request.format = conversations_[c].links[l].format;
        request.conversation = conversations_[c].handle;
        request.string1 = ClientString(conversations_[c].topic);
        request.string2 = ClientString(conversations_[c].links[l].item);
        request.data1 = targets.size() - k - 1; // requests still to come
        const DdeData answer = Call(instance, request);
        ReleaseClientString(request.string1);
        ReleaseClientString(request.string2);
        std::optional<std::vector<std::uint8_t>> delivered;
        auto found = data_.find(answer);
        if (answer != 0 && found != data_.end()) {
            delivered.emplace(found->second.bytes.get(),
                              found->second.bytes.get() + found->second.size);
            ReleaseData(answer);
        }
        conversations_[c].links[l].deliveries.push_back(std::move(delivered));
    }
    return true;
}

DdeData SimulatedDdeml::CreateDataHandle(DdeInstance instance, const void* source,
                                         std::uint32_t size, std::uint32_t offset, DdeString item,
                                         std::uint32_t format, std::uint32_t) {
    if (instances_.count(instance) == 0 || failures.createDataHandle) {
        return 0;
    }
    const std::string* itemText = TextOf(item);
    lastDataItem_ = itemText != nullptr ? *itemText : std::string();
    lastDataFormat_ = format;
    const DdeData handle = NewData(size);
    if (source != nullptr && size > 0) {
        std::memcpy(data_[handle].bytes.get(), static_cast<const std::uint8_t*>(source) + offset,
                    size);
    }
    return handle;
}

const std::uint8_t* SimulatedDdeml::AccessData(DdeData data, std::uint32_t* size) {
    auto found = data_.find(data);
    if (failures.accessData || found == data_.end()) {
        return nullptr;
    }
    ++found->second.accessed;
    if (size != nullptr) {
        *size = found->second.size;
    }
    return found->second.bytes.get();
}

bool SimulatedDdeml::UnaccessData(DdeData data) {
    auto found = data_.find(data);
    if (found == data_.end() || found->second.accessed == 0) {
        return false;
    }
    --found->second.accessed;
    return true;
}

// ---- MessageQueue ----

EventHandle SimulatedDdeml::CreateManualResetEvent() {
    if (failures.createEvent) {
        return 0;
    }
    const EventHandle handle = nextEvent_++;
    events_[handle] = false;
    return handle;
}

bool SimulatedDdeml::CloseEvent(EventHandle event) {
    return events_.erase(event) != 0;
}

bool SimulatedDdeml::SetEvent(EventHandle event) {
    auto found = events_.find(event);
    if (found == events_.end()) {
        return false;
    }
    found->second = true;
    return true;
}

bool SimulatedDdeml::ResetEvent(EventHandle event) {
    auto found = events_.find(event);
    if (found == events_.end()) {
        return false;
    }
    found->second = false;
    return true;
}

bool SimulatedDdeml::IsEventSet(EventHandle event) {
    auto found = events_.find(event);
    return found != events_.end() && found->second;
}

TimerId SimulatedDdeml::SetTimer(std::uint32_t elapseMs) {
    if (failures.setTimer) {
        return 0;
    }
    lastTimerElapse_ = elapseMs;
    const std::uint32_t elapse = std::max(elapseMs, kUserTimerMinimum);
    const TimerId id = nextTimer_++;
    timers_[id] = Timer{elapse, now_ + elapse};
    return id;
}

bool SimulatedDdeml::KillTimer(TimerId timer) {
    return timers_.erase(timer) != 0;
}

int SimulatedDdeml::GetThreadMessage(ThreadMessage* message) {
    for (;;) {
        if (failures.getMessageErrors > 0) {
            --failures.getMessageErrors;
            return -1;
        }
        if (!queue_.empty()) {
            *message = queue_.front();
            queue_.pop_front();
            if (IsSent(*message)) {
                DispatchThreadMessage(*message);
                continue;
            }
            return message->message == kWmQuit ? 0 : 1;
        }
        if (!idle_.empty()) {
            std::function<void()> action = std::move(idle_.front());
            idle_.pop_front();
            action();
            continue;
        }
        if (FireNextTimer()) {
            continue;
        }
        blockedForever_ = true;
        return -1;
    }
}

bool SimulatedDdeml::TranslateThreadMessage(const ThreadMessage&) {
    return false;
}

std::intptr_t SimulatedDdeml::DispatchThreadMessage(const ThreadMessage& message) {
    if (message.window == kDdeWindow && message.message == kDdeMessage &&
        message.wParam < actions_.size()) {
        const Action action = actions_[message.wParam];
        Run(action);
    }
    return 0;
}

bool SimulatedDdeml::PostToThread(std::uint32_t threadId, std::uint32_t message,
                                  std::uintptr_t wParam, std::intptr_t lParam) {
    if (threadId != kThreadId) {
        return false;
    }
    Post(ThreadMessage{0, message, wParam, lParam, now_, 0, 0});
    return true;
}

// ---- The client ----

std::size_t SimulatedDdeml::Connect(const std::string& service, const std::string& topic) {
    Conversation conv;
    conv.service = service;
    conv.topic = topic;
    conversations_.push_back(std::move(conv));
    const std::size_t index = conversations_.size() - 1;
    Queue(Action{ActionKind::Connect, index, {}, {}, 0});
    return index;
}

void SimulatedDdeml::StartAdvise(std::size_t conversation, const std::string& item,
                                 std::uint32_t format) {
    Queue(Action{ActionKind::StartAdvise, conversation, item, {}, format});
}

void SimulatedDdeml::Poke(std::size_t conversation, const std::string& item,
                          std::vector<std::uint8_t> data, std::uint32_t format) {
    Queue(Action{ActionKind::Poke, conversation, item, std::move(data), format});
}

void SimulatedDdeml::Disconnect(std::size_t conversation) {
    Queue(Action{ActionKind::Disconnect, conversation, {}, {}, 0});
}

void SimulatedDdeml::SendRaw(std::size_t conversation, std::uint32_t type,
                             const std::string& item) {
    Queue(Action{ActionKind::Raw, conversation, item, {}, type});
}

void SimulatedDdeml::WhenIdle(std::function<void()> action) {
    idle_.push_back(std::move(action));
}

void SimulatedDdeml::PostTimerMessage(TimerId timer) {
    Post(ThreadMessage{0, kWmTimer, timer, 0, now_, 0, 0});
}

void SimulatedDdeml::AdvanceTime(std::uint32_t ms) {
    const std::uint32_t target = now_ + ms;
    for (;;) {
        auto next = std::min_element(timers_.begin(), timers_.end(),
                                     [](auto& a, auto& b) { return a.second.due < b.second.due; });
        if (next == timers_.end() || next->second.due > target) {
            break;
        }
        now_ = next->second.due;
        next->second.due += next->second.elapse;
        PostTimerMessage(next->first);
    }
    now_ = target;
}

bool SimulatedDdeml::PumpMessages() {
    while (!queue_.empty()) {
        const ThreadMessage message = queue_.front();
        queue_.pop_front();
        if (IsSent(message)) {
            DispatchThreadMessage(message);
            continue;
        }
        if (message.message == kWmQuit) {
            return true;
        }
        TranslateThreadMessage(message);
        DispatchThreadMessage(message);
    }
    return false;
}

std::size_t SimulatedDdeml::liveStringHandles(DdeInstance instance) const {
    std::size_t count = 0;
    for (const auto& [handle, entry] : strings_) {
        auto held = entry.references.find(instance);
        if (held != entry.references.end()) {
            count += static_cast<std::size_t>(held->second);
        }
    }
    return count;
}

bool SimulatedDdeml::isServiceRegistered(const std::string& service) const {
    for (const auto& [id, instance] : instances_) {
        if (instance.services.count(Upper(service)) != 0) {
            return true;
        }
    }
    return false;
}

int SimulatedDdeml::codePageOf(const std::string& text) const {
    auto found = codePages_.find(Upper(text));
    return found == codePages_.end() ? -1 : found->second;
}

// ---- Inside ----

bool SimulatedDdeml::IsSent(const ThreadMessage& message) const {
    return message.window == kDdeWindow && message.message == kDdeMessage &&
           message.wParam < actions_.size() && actions_[message.wParam].kind == ActionKind::Connect;
}

void SimulatedDdeml::Post(const ThreadMessage& message) {
    queue_.push_back(message);
}

std::size_t SimulatedDdeml::Queue(Action action) {
    actions_.push_back(std::move(action));
    const std::size_t index = actions_.size() - 1;
    Post(ThreadMessage{kDdeWindow, kDdeMessage, index, 0, now_, 0, 0});
    return index;
}

void SimulatedDdeml::Run(const Action& action) {
    const std::size_t c = action.conversation;
    if (c >= conversations_.size()) {
        return;
    }
    if (action.kind == ActionKind::Connect) {
        RunConnect(c);
        return;
    }
    const bool connected = conversations_[c].state == ConversationState::Connected &&
                           instances_.count(conversations_[c].server) != 0;
    const DdeInstance server = conversations_[c].server;
    const std::uint32_t flags = connected ? instances_[server].flags : 0;
    DdeTransaction transaction;
    transaction.conversation = conversations_[c].handle;
    transaction.format = action.format;
    switch (action.kind) {
    case ActionKind::StartAdvise: {
        AdviseLink link;
        link.item = action.item;
        link.format = action.format;
        if (connected && (flags & kCbfFailAdvises) == 0) {
            transaction.type = kXtypAdvStart;
            transaction.string1 = ClientString(conversations_[c].topic);
            transaction.string2 = ClientString(action.item);
            link.accepted = Call(server, transaction) != 0;
            ReleaseClientString(transaction.string1);
            ReleaseClientString(transaction.string2);
        }
        conversations_[c].links.push_back(std::move(link));
        break;
    }
    case ActionKind::Poke: {
        DdeData result = kDdeFNotProcessed;
        if (connected && (flags & kCbfFailPokes) == 0) {
            transaction.type = kXtypPoke;
            transaction.string1 = ClientString(conversations_[c].topic);
            transaction.string2 = ClientString(action.item);
            transaction.data = NewData(static_cast<std::uint32_t>(action.data.size()));
            if (!action.data.empty()) {
                std::memcpy(data_[transaction.data].bytes.get(), action.data.data(),
                            action.data.size());
            }
            result = Call(server, transaction);
            ReleaseData(transaction.data);
            ReleaseClientString(transaction.string1);
            ReleaseClientString(transaction.string2);
        }
        conversations_[c].pokeResults.push_back(result);
        break;
    }
    case ActionKind::Disconnect:
        if (conversations_[c].state == ConversationState::Connected) {
            conversations_[c].state = ConversationState::Disconnected;
            if (connected && (flags & kCbfSkipDisconnects) == 0) {
                transaction.type = kXtypDisconnect;
                Call(server, transaction);
            }
        }
        break;
    case ActionKind::Raw: {
        DdeData result = 0;
        const bool filtered = (action.format == kXtypExecute && (flags & kCbfFailExecutes)) ||
                              (action.format == kXtypRequest && (flags & kCbfFailRequests));
        if (connected && !filtered) {
            transaction.type = action.format;
            transaction.format = 0;
            transaction.string1 = ClientString(conversations_[c].topic);
            transaction.string2 = ClientString(action.item);
            result = Call(server, transaction);
            ReleaseClientString(transaction.string1);
            ReleaseClientString(transaction.string2);
        }
        rawResults_.push_back(result);
        break;
    }
    case ActionKind::Connect:
        break;
    }
}

void SimulatedDdeml::RunConnect(std::size_t c) {
    const std::string service = conversations_[c].service;
    const std::string topic = conversations_[c].topic;
    const bool wildcard = service.empty() || topic.empty();
    std::vector<DdeInstance> servers;
    for (const auto& [id, instance] : instances_) {
        const bool offers = service.empty() ? !instance.services.empty()
                                            : instance.services.count(Upper(service)) != 0;
        if (offers && (instance.flags & kCbfFailConnections) == 0) {
            servers.push_back(id);
        }
    }
    for (DdeInstance server : servers) {
        if (instances_.count(server) == 0) {
            continue;
        }
        DdeTransaction request;
        request.type = wildcard ? kXtypWildConnect : kXtypConnect;
        request.string1 = topic.empty() ? 0 : ClientString(topic);
        request.string2 = service.empty() ? 0 : ClientString(service);
        const DdeData answer = Call(server, request);
        if (answer != 0 && wildcard && data_.count(answer) != 0) {
            ReleaseData(answer); // the list of (service, topic) pairs
        }
        if (answer != 0 && instances_.count(server) != 0) {
            conversations_[c].state = ConversationState::Connected;
            conversations_[c].handle = nextConversation_++;
            conversations_[c].server = server;
            if (!wildcard && (instances_[server].flags & kCbfSkipConnectConfirms) == 0) {
                DdeTransaction confirm = request;
                confirm.type = kXtypConnectConfirm;
                confirm.conversation = conversations_[c].handle;
                Call(server, confirm);
            }
        }
        if (request.string1 != 0) {
            ReleaseClientString(request.string1);
        }
        if (request.string2 != 0) {
            ReleaseClientString(request.string2);
        }
        if (conversations_[c].state == ConversationState::Connected) {
            return;
        }
    }
    conversations_[c].state = ConversationState::Refused;
}

DdeData SimulatedDdeml::Call(DdeInstance instance, const DdeTransaction& transaction) {
    auto found = instances_.find(instance);
    if (found == instances_.end() || found->second.handler == nullptr) {
        return 0;
    }
    ++callbacks_;
    return found->second.handler->OnDdeTransaction(transaction);
}

DdeString SimulatedDdeml::ClientString(const std::string& text) {
    // The client's handles never fail on purpose: only the server's creation is under test.
    const std::string failing = std::exchange(failures.stringHandle, std::string());
    const DdeString handle = CreateStringHandle(kClientInstance, text.c_str(), kCpWinAnsi);
    failures.stringHandle = failing;
    return handle;
}

void SimulatedDdeml::ReleaseClientString(DdeString handle) {
    FreeStringHandle(kClientInstance, handle);
}

const std::string* SimulatedDdeml::TextOf(DdeString handle) const {
    auto found = strings_.find(handle);
    return found == strings_.end() ? nullptr : &found->second.text;
}

DdeData SimulatedDdeml::NewData(std::uint32_t size) {
    const DdeData handle = nextData_++;
    DataEntry entry;
    // Never a null pointer, even for no bytes: accessing empty data succeeds.
    entry.bytes = std::make_unique<std::uint8_t[]>(std::max<std::uint32_t>(size, 1));
    entry.size = size;
    data_[handle] = std::move(entry);
    return handle;
}

void SimulatedDdeml::ReleaseData(DdeData data) {
    auto found = data_.find(data);
    if (found == data_.end()) {
        return;
    }
    if (found->second.accessed != 0) {
        ++leftAccessed_;
    }
    data_.erase(found);
}

bool SimulatedDdeml::FireNextTimer() {
    auto next = std::min_element(timers_.begin(), timers_.end(),
                                 [](auto& a, auto& b) { return a.second.due < b.second.due; });
    if (next == timers_.end()) {
        return false;
    }
    now_ = std::max(now_, next->second.due);
    next->second.due += next->second.elapse;
    PostTimerMessage(next->first);
    return true;
}

} // namespace platform
