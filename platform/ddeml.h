#pragma once
// The DDE management library as the driver link uses it, and the pieces of the thread its waits
// need (an event, thread timers, the message queue). Two implementations: the real DDEML and
// user32 in the Windows build (platform/win32/win32_ddeml.cpp) and a simulation that tests drive
// (platform/simulated_ddeml.h). Handles are opaque integers; 0 is always "none".
#include <cstdint>

namespace platform {

using DdeInstance = std::uint32_t;      // DDEML instance id
using DdeString = std::uintptr_t;       // HSZ
using DdeData = std::uintptr_t;         // HDDEDATA
using DdeConversation = std::uintptr_t; // HCONV
using EventHandle = std::uintptr_t;     // HANDLE of an event
using TimerId = std::uintptr_t;         // UINT_PTR of a thread timer
using WindowHandle = std::uintptr_t;    // HWND

// Transaction types (XTYP_*), with their class and flag bits as DDEML passes them.
enum DdeTransactionType : std::uint32_t {
    kXtypError = 0x8002,
    kXtypAdvData = 0x4010,
    kXtypAdvReq = 0x2022,
    kXtypAdvStart = 0x1030,
    kXtypAdvStop = 0x8040,
    kXtypExecute = 0x4050,
    kXtypConnect = 0x1062,
    kXtypConnectConfirm = 0x8072,
    kXtypXactComplete = 0x8080,
    kXtypPoke = 0x4090,
    kXtypRegister = 0x80A2,
    kXtypRequest = 0x20B0,
    kXtypDisconnect = 0x80C2,
    kXtypUnregister = 0x80D2,
    kXtypWildConnect = 0x20E2,
};

// DdeInitialize flags (APPCLASS_*, CBF_*).
enum DdeInitFlags : std::uint32_t {
    kAppClassStandard = 0x00000000,
    kCbfFailSelfConnections = 0x00001000,
    kCbfFailConnections = 0x00002000,
    kCbfFailAdvises = 0x00004000,
    kCbfFailExecutes = 0x00008000,
    kCbfFailPokes = 0x00010000,
    kCbfFailRequests = 0x00020000,
    kCbfSkipConnectConfirms = 0x00040000,
    kCbfSkipRegistrations = 0x00080000,
    kCbfSkipUnregistrations = 0x00100000,
    kCbfSkipDisconnects = 0x00200000,
};

inline constexpr std::uint32_t kDmlErrNoError = 0;
inline constexpr std::uint32_t kDmlErrSysError = 0x400F; // DMLERR_SYS_ERROR
inline constexpr std::uint32_t kDnsRegister = 0x0001;
inline constexpr std::uint32_t kDnsUnregister = 0x0002;
inline constexpr int kCpWinAnsi = 1004;
inline constexpr DdeData kDdeFack = 0x8000;     // poke acknowledged
inline constexpr DdeData kDdeFNotProcessed = 0; // poke refused

inline constexpr std::uint32_t kWmNull = 0x0000;
inline constexpr std::uint32_t kWmQuit = 0x0012;
inline constexpr std::uint32_t kWmTimer = 0x0113;

// One call of the DDE callback, with the arguments DDEML passes.
struct DdeTransaction {
    std::uint32_t type = 0;
    std::uint32_t format = 0;
    DdeConversation conversation = 0;
    DdeString string1 = 0; // usually the topic
    DdeString string2 = 0; // usually the item (the service on a connection)
    DdeData data = 0;
    std::uintptr_t data1 = 0;
    std::uintptr_t data2 = 0;
};

// Receives the DDE callbacks of one instance. DDEML calls it on the thread that initialised the
// instance, from inside message dispatching and DdePostAdvise. It must not throw: the caller is
// the C library, which no exception may cross.
class DdeTransactionHandler {
public:
    virtual DdeData OnDdeTransaction(const DdeTransaction& transaction) noexcept = 0;

protected:
    ~DdeTransactionHandler() = default;
};

class Ddeml {
public:
    virtual ~Ddeml() = default;

    // RegisterClipboardFormatA: the format's id, 0 on failure.
    virtual std::uint32_t RegisterFormat(const char* name) = 0;

    // DdeInitializeA. `*instance` must be 0 on entry and receives the new id. Returns
    // kDmlErrNoError or a DMLERR_* code.
    virtual std::uint32_t Initialize(DdeInstance* instance, DdeTransactionHandler* handler,
                                     std::uint32_t flags) = 0;
    virtual bool Uninitialize(DdeInstance instance) = 0;

    // DdeCreateStringHandleA; 0 on failure.
    virtual DdeString CreateStringHandle(DdeInstance instance, const char* text, int codePage) = 0;
    virtual bool FreeStringHandle(DdeInstance instance, DdeString handle) = 0;
    // DdeCmpStringHandles: -1, 0 or 1; the texts compare without regard to case.
    virtual int CompareStringHandles(DdeString a, DdeString b) = 0;

    // DdeNameService with DNS_REGISTER or DNS_UNREGISTER: non-zero on success.
    virtual DdeData NameService(DdeInstance instance, DdeString service, std::uint32_t command) = 0;
    // DdePostAdvise: the advise requests it causes arrive in the callback before it returns.
    virtual bool PostAdvise(DdeInstance instance, DdeString topic, DdeString item) = 0;

    // DdeCreateDataHandle: `size` bytes from `source` + `offset` (nothing copied when `source`
    // is null); 0 on failure.
    virtual DdeData CreateDataHandle(DdeInstance instance, const void* source, std::uint32_t size,
                                     std::uint32_t offset, DdeString item, std::uint32_t format,
                                     std::uint32_t flags) = 0;
    // DdeAccessData: the data and its size, null on failure.
    virtual const std::uint8_t* AccessData(DdeData data, std::uint32_t* size) = 0;
    virtual bool UnaccessData(DdeData data) = 0;
};

// A message of the thread's queue (the fields of MSG).
struct ThreadMessage {
    WindowHandle window = 0;
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    std::uint32_t time = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// The calling thread's event, timers and message queue. (Names differ from the Win32 functions
// that <windows.h> defines as A/W macros.)
class MessageQueue {
public:
    virtual ~MessageQueue() = default;

    // An unnamed manual-reset event, created non-signalled; 0 on failure.
    virtual EventHandle CreateManualResetEvent() = 0;
    virtual bool CloseEvent(EventHandle event) = 0;
    virtual bool SetEvent(EventHandle event) = 0;
    virtual bool ResetEvent(EventHandle event) = 0;
    // WaitForSingleObject with a zero time-out: true when signalled.
    virtual bool IsEventSet(EventHandle event) = 0;

    // SetTimer with no window, id 0 and no timer procedure: a WM_TIMER every `elapseMs`;
    // returns the timer's id, 0 on failure.
    virtual TimerId SetTimer(std::uint32_t elapseMs) = 0;
    virtual bool KillTimer(TimerId timer) = 0;

    // GetMessageA for any window and all messages: -1 on error, 0 for WM_QUIT, else positive.
    virtual int GetThreadMessage(ThreadMessage* message) = 0;
    virtual bool TranslateThreadMessage(const ThreadMessage& message) = 0;
    virtual std::intptr_t DispatchThreadMessage(const ThreadMessage& message) = 0;

    virtual std::uint32_t CurrentThreadId() = 0;
    // PostThreadMessageA.
    virtual bool PostToThread(std::uint32_t threadId, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam) = 0;
};

// The platform's own: real DDEML and the calling thread's queue in the Windows build, a
// simulation without any client natively (a wait there can only end by time-out).
Ddeml& SystemDdeml();
MessageQueue& SystemMessageQueue();

} // namespace platform
