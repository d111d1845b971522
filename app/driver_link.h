#pragma once
// The link with the printer driver over DDE. The program is the server "VELA40PSSRV", topic
// "DDI", item "Data": the driver pokes one settings message into it and, at the end, receives
// the answer (the edited settings or a cancellation) through an advise link, in the format
// "VELA40PSFMT".
//
// Every outcome goes through Report: the status records the first outcome after the link opened
// (0 open, 2 time-out, negative a failure code) and a negative status is raised as a
// DriverLinkError. The wrappers at the end are what the application calls; they catch the
// errors. Everything runs on the one GUI thread.
#include <cstdint>
#include <stdexcept>

#include "app/settings_block.h"
#include "platform/ddeml.h"

namespace app {

// Status values and failure codes of the link.
enum DriverLinkStatus : int {
    kLinkOpen = 0,
    kLinkClosed = 1,
    kLinkTimedOut = 2,
    kLinkMissingHandle = -1,
    kLinkEventFailed = -2,
    kLinkFormatFailed = -3,
    kLinkInitializeFailed = -4,
    kLinkServiceNameFailed = -5,
    kLinkTopicNameFailed = -6,
    kLinkItemNameFailed = -7,
    kLinkNameServiceFailed = -8,
    kLinkWrongTopic = -9,
    kLinkWrongItem = -10,
    kLinkPokeNotAccessible = -11,
    kLinkAdviseDataFailed = -13,
    kLinkNoPendingData = -19,
    kLinkNoBuffer = -20,
};

inline constexpr char kDdeServiceName[] = "VELA40PSSRV";
inline constexpr char kDdeTopicName[] = "DDI";
inline constexpr char kDdeItemName[] = "Data";
inline constexpr char kDdeFormatName[] = "VELA40PSFMT";
// APPCLASS_STANDARD with CBF_FAIL_SELFCONNECTIONS, CBF_FAIL_EXECUTES, CBF_FAIL_REQUESTS,
// CBF_SKIP_CONNECT_CONFIRMS, CBF_SKIP_REGISTRATIONS and CBF_SKIP_UNREGISTRATIONS: DDEML itself
// refuses or drops everything the link does not handle.
inline constexpr std::uint32_t kDriverLinkInitFlags =
    platform::kAppClassStandard | platform::kCbfFailSelfConnections | platform::kCbfFailExecutes |
    platform::kCbfFailRequests | platform::kCbfSkipConnectConfirms |
    platform::kCbfSkipRegistrations | platform::kCbfSkipUnregistrations;
static_assert(kDriverLinkInitFlags == 0x1E9000);
// A poke of this size is acknowledged and ignored, like an empty one.
inline constexpr std::uint32_t kIgnoredPokeSize = 28;
inline constexpr std::uint32_t kDriverWaitMs = 5000;

// A failure raised by the link, carrying its code.
class DriverLinkError : public std::runtime_error {
public:
    explicit DriverLinkError(int code);
    int code() const { return code_; }

private:
    int code_;
};

class DriverLink final : private platform::DdeTransactionHandler {
public:
    DriverLink(platform::Ddeml& ddeml, platform::MessageQueue& queue);
    // Closes what is still open.
    ~DriverLink();
    DriverLink(const DriverLink&) = delete;
    DriverLink& operator=(const DriverLink&) = delete;

    // Creates the event, registers the format, starts the DDEML instance, creates the three
    // names and registers the service, then reports 0. A step that fails is reported with its
    // own code (-2 to -8) and leaves its handle 0; as the status is still 1 then, nothing is
    // recorded and the first operation finds the missing handle. A link that already holds a
    // handle reports -1 and is left as it is.
    void Open();
    // Waits up to `timeoutMs` for a poke into `buffer` (at most `capacity` bytes) and returns
    // the status. The buffer is registered only while the call runs.
    int Receive(std::uint8_t* buffer, std::uint32_t capacity, std::uint32_t timeoutMs);
    // Offers `length` bytes of `data` to the advise links (consumed by the first advise
    // request, the others get no bytes), then waits up to `timeoutMs` for the driver to
    // disconnect or poke; a time-out of 0 returns 0 without waiting. Returns the status.
    int Send(const std::uint8_t* data, std::uint32_t length, std::uint32_t timeoutMs);
    // Dispatches the thread's messages until a poke or disconnect signals the event, a
    // WM_TIMER of the thread arrives (time-out, status 2) or retrieving fails. Returns the
    // status.
    int Wait(std::uint32_t timeoutMs);
    // Releases everything and returns to status 1; the link can be opened again.
    void Close();

    // The application's calls. ReceiveSettings opens the link and waits up to 5000 ms for the
    // driver's message: true with the message's owner window and block when one arrived; false
    // on a time-out, a failure, or a driver that disconnected without poking (then nothing is
    // there to edit). On a raised failure the outputs are left as they were.
    bool ReceiveSettings(std::int32_t& ownerWindow, PrinterSettingsBlock& block);
    // Answers with the block (size 1312, type 1, owner window 0), waits up to 5000 ms for the
    // driver to take it, and closes the link. False when a failure was raised on the way; the
    // link is closed all the same.
    bool SendSettings(const PrinterSettingsBlock& block);
    // Answers with the 8-byte cancellation (size 8, type 2), as SendSettings.
    bool SendCancel();

    int status() const { return status_; }
    // True when all six handles (event, format, instance, three names) are set.
    bool usable() const;
    // Bytes the pokes of the current or last Receive stored.
    std::uint32_t receivedLength() const { return received_; }

private:
    void Report(int code);
    platform::DdeData
    OnDdeTransaction(const platform::DdeTransaction& transaction) noexcept override;
    platform::DdeData Handle(const platform::DdeTransaction& transaction);
    // Raises, once, a failure the callback recorded.
    void RaiseCallbackFailure();
    bool anyHandle() const;

    platform::Ddeml& ddeml_;
    platform::MessageQueue& queue_;

    platform::EventHandle event_ = 0;
    std::uint32_t formatId_ = 0;
    platform::DdeInstance instance_ = 0;
    platform::DdeString serviceHandle_ = 0;
    platform::DdeString topicHandle_ = 0;
    platform::DdeString itemHandle_ = 0;
    std::uint8_t* receiveBuffer_ = nullptr;
    std::uint32_t receiveCapacity_ = 0;
    std::uint32_t received_ = 0;
    const std::uint8_t* pendingData_ = nullptr;
    std::uint32_t pendingLength_ = 0;
    int status_ = kLinkClosed;
    // A failure raised inside the callback, which no exception may leave: kept here and raised
    // by the operation that dispatched the callback, or by the next one. While it is kept, the
    // callback refuses every transaction but a disconnect.
    int callbackFailure_ = 0;
    bool closing_ = false;
    // A Receive or Send is under way: someone waits for what the callback meets.
    bool operating_ = false;
};

// The process's link, over the platform's DDEML and the calling thread's queue.
DriverLink& ProcessDriverLink();

} // namespace app
