#include "app/driver_link.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/settings_message.h"

namespace app {

namespace {

// Runs `action` when the scope ends, however it ends.
template <typename Action>
class OnExit {
public:
    explicit OnExit(Action action) : action_(action) {}
    ~OnExit() { action_(); }
    OnExit(const OnExit&) = delete;
    OnExit& operator=(const OnExit&) = delete;

private:
    Action action_;
};

} // namespace

DriverLinkError::DriverLinkError(int code)
    : std::runtime_error("driver link failure " + std::to_string(code)), code_(code) {}

DriverLink::DriverLink(platform::Ddeml& ddeml, platform::MessageQueue& queue)
    : ddeml_(ddeml), queue_(queue) {}

DriverLink::~DriverLink() {
    if (anyHandle()) {
        Close();
    }
}

bool DriverLink::usable() const {
    return event_ != 0 && formatId_ != 0 && instance_ != 0 && serviceHandle_ != 0 &&
           topicHandle_ != 0 && itemHandle_ != 0;
}

bool DriverLink::anyHandle() const {
    return event_ != 0 || formatId_ != 0 || instance_ != 0 || serviceHandle_ != 0 ||
           topicHandle_ != 0 || itemHandle_ != 0;
}

void DriverLink::Report(int code) {
    if (status_ == kLinkOpen || code == kLinkOpen) {
        status_ = code;
    }
    if (status_ < 0) {
        throw DriverLinkError(status_);
    }
}

void DriverLink::RaiseCallbackFailure() {
    if (callbackFailure_ != 0) {
        const int code = callbackFailure_;
        callbackFailure_ = 0;
        throw DriverLinkError(code);
    }
}

void DriverLink::Open() {
    if (anyHandle()) {
        // Opening over a live instance would leak it and register the service twice.
        Report(kLinkMissingHandle);
        return;
    }
    event_ = queue_.CreateManualResetEvent();
    if (event_ == 0) {
        Report(kLinkEventFailed);
    }
    formatId_ = ddeml_.RegisterFormat(kDdeFormatName);
    if (formatId_ == 0) {
        Report(kLinkFormatFailed);
    }
    instance_ = 0;
    if (ddeml_.Initialize(&instance_, this, kDriverLinkInitFlags) != platform::kDmlErrNoError) {
        instance_ = 0;
        Report(kLinkInitializeFailed);
    }
    serviceHandle_ = ddeml_.CreateStringHandle(instance_, kDdeServiceName, platform::kCpWinAnsi);
    if (serviceHandle_ == 0) {
        Report(kLinkServiceNameFailed);
    }
    topicHandle_ = ddeml_.CreateStringHandle(instance_, kDdeTopicName, platform::kCpWinAnsi);
    if (topicHandle_ == 0) {
        Report(kLinkTopicNameFailed);
    }
    itemHandle_ = ddeml_.CreateStringHandle(instance_, kDdeItemName, platform::kCpWinAnsi);
    if (itemHandle_ == 0) {
        Report(kLinkItemNameFailed);
    }
    if (ddeml_.NameService(instance_, serviceHandle_, platform::kDnsRegister) == 0) {
        Report(kLinkNameServiceFailed);
    }
    Report(kLinkOpen);
}

int DriverLink::Receive(std::uint8_t* buffer, std::uint32_t capacity, std::uint32_t timeoutMs) {
    RaiseCallbackFailure();
    if (buffer == nullptr) {
        Report(kLinkNoBuffer);
        return status_;
    }
    if (!usable()) {
        Report(kLinkMissingHandle);
        return status_;
    }
    receiveBuffer_ = buffer;
    receiveCapacity_ = capacity;
    received_ = 0;
    operating_ = true;
    // The caller's buffer is gone after the call: a later poke must not reach it.
    OnExit unregister([this] {
        receiveBuffer_ = nullptr;
        receiveCapacity_ = 0;
        operating_ = false;
    });
    return Wait(timeoutMs);
}

int DriverLink::Send(const std::uint8_t* data, std::uint32_t length, std::uint32_t timeoutMs) {
    RaiseCallbackFailure();
    if (!usable()) {
        Report(kLinkMissingHandle);
        return status_;
    }
    pendingData_ = data;
    pendingLength_ = length;
    operating_ = true;
    OnExit withdraw([this] {
        pendingData_ = nullptr;
        pendingLength_ = 0;
        operating_ = false;
    });
    ddeml_.PostAdvise(instance_, topicHandle_, itemHandle_);
    RaiseCallbackFailure();
    if (timeoutMs == 0) {
        return 0;
    }
    return Wait(timeoutMs);
}

int DriverLink::Wait(std::uint32_t timeoutMs) {
    const platform::TimerId timer = queue_.SetTimer(timeoutMs);
    if (timer == 0) {
        // Without a timer nothing would bound the wait.
        Report(kLinkTimedOut);
        return status_;
    }
    OnExit kill([this, timer] { queue_.KillTimer(timer); });
    queue_.ResetEvent(event_);
    while (!queue_.IsEventSet(event_)) {
        platform::ThreadMessage message;
        const int got = queue_.GetThreadMessage(&message);
        RaiseCallbackFailure(); // from a sent message handled while retrieving
        if (got == -1) {
            break;
        }
        if (message.message == platform::kWmTimer) {
            Report(kLinkTimedOut);
            break;
        }
        queue_.TranslateThreadMessage(message);
        queue_.DispatchThreadMessage(message);
        RaiseCallbackFailure();
    }
    return status_;
}

void DriverLink::Close() {
    closing_ = true;
    OnExit done([this] { closing_ = false; });
    if (event_ != 0) {
        queue_.CloseEvent(event_);
        event_ = 0;
    }
    if (instance_ != 0) {
        if (serviceHandle_ != 0) {
            ddeml_.NameService(instance_, serviceHandle_, platform::kDnsUnregister);
            ddeml_.FreeStringHandle(instance_, serviceHandle_);
        }
        if (topicHandle_ != 0) {
            ddeml_.FreeStringHandle(instance_, topicHandle_);
        }
        if (itemHandle_ != 0) {
            ddeml_.FreeStringHandle(instance_, itemHandle_);
        }
        ddeml_.Uninitialize(instance_);
    }
    formatId_ = 0;
    instance_ = 0;
    serviceHandle_ = topicHandle_ = itemHandle_ = 0;
    receiveBuffer_ = nullptr;
    receiveCapacity_ = 0;
    pendingData_ = nullptr;
    pendingLength_ = 0;
    callbackFailure_ = 0;
    status_ = kLinkClosed;
}

platform::DdeData
DriverLink::OnDdeTransaction(const platform::DdeTransaction& transaction) noexcept {
    if (closing_) {
        return 0;
    }
    if (callbackFailure_ != 0 && transaction.type != platform::kXtypDisconnect) {
        return 0;
    }
    const int statusBefore = status_;
    try {
        return Handle(transaction);
    } catch (const DriverLinkError& error) {
        callbackFailure_ = error.code();
    } catch (...) {
        callbackFailure_ = kLinkMissingHandle;
    }
    if (!operating_) {
        // Between operations (while the sheet is shown) nobody waits for this outcome: the
        // transaction is refused, and the link stays as it was, so a stranger's connection
        // does not cost the driver its answer.
        status_ = statusBefore;
        callbackFailure_ = 0;
        return 0;
    }
    // A connection request arrives as a sent message, handled inside GetMessage, which goes on
    // waiting for a posted one: post one so that a waiting operation raises the failure now.
    queue_.PostToThread(queue_.CurrentThreadId(), platform::kWmNull, 0, 0);
    return 0;
}

// A transaction refused on a reported failure answers 0 whether or not the report raised:
// FALSE for a connection, no data for an advise request, DDE_FNOTPROCESSED for a poke.
platform::DdeData DriverLink::Handle(const platform::DdeTransaction& transaction) {
    switch (transaction.type) {
    case platform::kXtypConnect:
        if (!usable()) {
            Report(kLinkMissingHandle);
            return 0;
        }
        if (ddeml_.CompareStringHandles(transaction.string1, topicHandle_) != 0) {
            Report(kLinkWrongTopic);
            return 0;
        }
        return 1;
    case platform::kXtypAdvStart:
    case platform::kXtypAdvStop:
        return 1;
    case platform::kXtypAdvReq: {
        if (pendingLength_ != 0 && pendingData_ == nullptr) {
            Report(kLinkNoPendingData);
            return 0;
        }
        const platform::DdeData data = ddeml_.CreateDataHandle(
            instance_, pendingData_, pendingLength_, 0, itemHandle_, formatId_, 0);
        if (data == 0) {
            Report(kLinkAdviseDataFailed);
            return 0;
        }
        pendingData_ = nullptr;
        pendingLength_ = 0;
        return data;
    }
    case platform::kXtypPoke: {
        if (ddeml_.CompareStringHandles(transaction.string2, itemHandle_) != 0) {
            Report(kLinkWrongItem);
            return platform::kDdeFNotProcessed;
        }
        std::uint32_t size = 0;
        const std::uint8_t* bytes = ddeml_.AccessData(transaction.data, &size);
        if (bytes == nullptr) {
            Report(kLinkPokeNotAccessible);
            return platform::kDdeFNotProcessed;
        }
        if (size != 0 && size != kIgnoredPokeSize) {
            const std::uint32_t n = std::min(receiveCapacity_, size);
            receiveCapacity_ = n;
            if (n > 0 && receiveBuffer_ != nullptr) {
                std::memcpy(receiveBuffer_, bytes, n);
                received_ = n;
            }
            queue_.SetEvent(event_);
        }
        ddeml_.UnaccessData(transaction.data);
        return platform::kDdeFack;
    }
    case platform::kXtypDisconnect:
        if (event_ != 0) {
            queue_.SetEvent(event_);
        }
        queue_.PostToThread(queue_.CurrentThreadId(), platform::kWmQuit, 0, 0);
        return 0;
    default:
        return 0;
    }
}

bool DriverLink::ReceiveSettings(std::int32_t& ownerWindow, PrinterSettingsBlock& block) {
    try {
        Open();
        // Zeros: the owner window is 0 unless the driver names one, and block bytes that a
        // short message does not reach are 0 rather than left over from anything.
        SettingsMessageBytes message{};
        const int result = Receive(message.data(), kSettingsMessageSize, kDriverWaitMs);
        ownerWindow = MessageOwnerWindow(message);
        block.assign(std::span<const std::uint8_t>(message).subspan(kMessageBlockOffset,
                                                                    PrinterSettingsBlock::kSize));
        // A disconnect also ends the wait with status 0; without a stored message there is
        // nothing to edit.
        return result == kLinkOpen && received_ > 0;
    } catch (const DriverLinkError&) {
        return false;
    }
}

bool DriverLink::SendSettings(const PrinterSettingsBlock& block) {
    bool sent = true;
    try {
        const SettingsMessageBytes message = BuildSettingsMessage(block);
        Send(message.data(), static_cast<std::uint32_t>(message.size()), kDriverWaitMs);
    } catch (const DriverLinkError&) {
        sent = false;
    }
    Close();
    return sent;
}

bool DriverLink::SendCancel() {
    bool sent = true;
    try {
        const CancelMessageBytes message = BuildCancelMessage();
        Send(message.data(), static_cast<std::uint32_t>(message.size()), kDriverWaitMs);
    } catch (const DriverLinkError&) {
        sent = false;
    }
    Close();
    return sent;
}

DriverLink& ProcessDriverLink() {
    static DriverLink link(platform::SystemDdeml(), platform::SystemMessageQueue());
    return link;
}

} // namespace app
