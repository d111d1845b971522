// The real DDEML, event, thread timers and message queue.
#include "platform/ddeml.h"

#include <windows.h>

#include <ddeml.h>

#include <array>
#include <atomic>
#include <mutex>
#include <utility>

namespace platform {

namespace {

// DDEML's callback carries no context, so each live instance gets a callback function of its
// own: one of a fixed set of trampolines, each forwarding to the handler in its slot.
constexpr int kSlots = 8;
std::array<std::atomic<DdeTransactionHandler*>, kSlots> g_handlers{};
std::array<DdeInstance, kSlots> g_slotInstances{};
std::array<bool, kSlots> g_slotUsed{};
std::mutex g_slotMutex;

HDDEDATA Forward(int slot, UINT type, UINT format, HCONV conversation, HSZ string1, HSZ string2,
                 HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2) {
    DdeTransactionHandler* handler = g_handlers[slot].load();
    if (handler == nullptr) {
        return nullptr;
    }
    DdeTransaction transaction;
    transaction.type = type;
    transaction.format = format;
    transaction.conversation = reinterpret_cast<DdeConversation>(conversation);
    transaction.string1 = reinterpret_cast<DdeString>(string1);
    transaction.string2 = reinterpret_cast<DdeString>(string2);
    transaction.data = reinterpret_cast<DdeData>(data);
    transaction.data1 = data1;
    transaction.data2 = data2;
    return reinterpret_cast<HDDEDATA>(handler->OnDdeTransaction(transaction));
}

template <int Slot>
HDDEDATA CALLBACK Trampoline(UINT type, UINT format, HCONV conversation, HSZ string1, HSZ string2,
                             HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2) {
    return Forward(Slot, type, format, conversation, string1, string2, data, data1, data2);
}

template <std::size_t... Slots>
constexpr std::array<PFNCALLBACK, sizeof...(Slots)> MakeTrampolines(std::index_sequence<Slots...>) {
    return {&Trampoline<static_cast<int>(Slots)>...};
}
constexpr auto kTrampolines = MakeTrampolines(std::make_index_sequence<kSlots>());

int TakeSlot(DdeTransactionHandler* handler) {
    std::lock_guard<std::mutex> lock(g_slotMutex);
    for (int slot = 0; slot < kSlots; ++slot) {
        if (!g_slotUsed[slot]) {
            g_slotUsed[slot] = true;
            g_slotInstances[slot] = 0;
            g_handlers[slot].store(handler);
            return slot;
        }
    }
    return -1;
}

void ReleaseSlot(int slot) {
    std::lock_guard<std::mutex> lock(g_slotMutex);
    g_handlers[slot].store(nullptr);
    g_slotInstances[slot] = 0;
    g_slotUsed[slot] = false;
}

int SlotOf(DdeInstance instance) {
    std::lock_guard<std::mutex> lock(g_slotMutex);
    for (int slot = 0; slot < kSlots; ++slot) {
        if (g_slotUsed[slot] && g_slotInstances[slot] == instance) {
            return slot;
        }
    }
    return -1;
}

class Win32Ddeml final : public Ddeml {
public:
    std::uint32_t RegisterFormat(const char* name) override {
        return RegisterClipboardFormatA(name);
    }

    std::uint32_t Initialize(DdeInstance* instance, DdeTransactionHandler* handler,
                             std::uint32_t flags) override {
        if (instance == nullptr || *instance != 0 || handler == nullptr) {
            return DMLERR_INVALIDPARAMETER;
        }
        const int slot = TakeSlot(handler);
        if (slot < 0) {
            return DMLERR_SYS_ERROR;
        }
        DWORD id = 0;
        const UINT result = DdeInitializeA(&id, kTrampolines[slot], flags, 0);
        if (result != DMLERR_NO_ERROR || id == 0) {
            ReleaseSlot(slot);
            return result != DMLERR_NO_ERROR ? result : DMLERR_SYS_ERROR;
        }
        {
            std::lock_guard<std::mutex> lock(g_slotMutex);
            g_slotInstances[slot] = id;
        }
        *instance = id;
        return DMLERR_NO_ERROR;
    }

    bool Uninitialize(DdeInstance instance) override {
        const bool done = DdeUninitialize(instance) != FALSE;
        const int slot = SlotOf(instance);
        if (slot >= 0) {
            ReleaseSlot(slot);
        }
        return done;
    }

    DdeString CreateStringHandle(DdeInstance instance, const char* text, int codePage) override {
        return reinterpret_cast<DdeString>(DdeCreateStringHandleA(instance, text, codePage));
    }

    bool FreeStringHandle(DdeInstance instance, DdeString handle) override {
        return DdeFreeStringHandle(instance, reinterpret_cast<HSZ>(handle)) != FALSE;
    }

    int CompareStringHandles(DdeString a, DdeString b) override {
        return DdeCmpStringHandles(reinterpret_cast<HSZ>(a), reinterpret_cast<HSZ>(b));
    }

    DdeData NameService(DdeInstance instance, DdeString service, std::uint32_t command) override {
        return reinterpret_cast<DdeData>(
            DdeNameService(instance, reinterpret_cast<HSZ>(service), nullptr, command));
    }

    bool PostAdvise(DdeInstance instance, DdeString topic, DdeString item) override {
        return DdePostAdvise(instance, reinterpret_cast<HSZ>(topic), reinterpret_cast<HSZ>(item)) !=
               FALSE;
    }

    DdeData CreateDataHandle(DdeInstance instance, const void* source, std::uint32_t size,
                             std::uint32_t offset, DdeString item, std::uint32_t format,
                             std::uint32_t flags) override {
        // DDEML only reads the source; its prototype predates const.
        auto* bytes = static_cast<BYTE*>(const_cast<void*>(source));
        return reinterpret_cast<DdeData>(DdeCreateDataHandle(
            instance, bytes, size, offset, reinterpret_cast<HSZ>(item), format, flags));
    }

    const std::uint8_t* AccessData(DdeData data, std::uint32_t* size) override {
        DWORD length = 0;
        const BYTE* bytes = DdeAccessData(reinterpret_cast<HDDEDATA>(data), &length);
        if (size != nullptr) {
            *size = length;
        }
        return bytes;
    }

    bool UnaccessData(DdeData data) override {
        return DdeUnaccessData(reinterpret_cast<HDDEDATA>(data)) != FALSE;
    }
};

class Win32MessageQueue final : public MessageQueue {
public:
    EventHandle CreateManualResetEvent() override {
        return reinterpret_cast<EventHandle>(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    }

    bool CloseEvent(EventHandle event) override {
        return CloseHandle(reinterpret_cast<HANDLE>(event)) != FALSE;
    }

    bool SetEvent(EventHandle event) override {
        return ::SetEvent(reinterpret_cast<HANDLE>(event)) != FALSE;
    }

    bool ResetEvent(EventHandle event) override {
        return ::ResetEvent(reinterpret_cast<HANDLE>(event)) != FALSE;
    }

    bool IsEventSet(EventHandle event) override {
        return WaitForSingleObject(reinterpret_cast<HANDLE>(event), 0) == WAIT_OBJECT_0;
    }

    TimerId SetTimer(std::uint32_t elapseMs) override {
        return ::SetTimer(nullptr, 0, elapseMs, nullptr);
    }

    bool KillTimer(TimerId timer) override { return ::KillTimer(nullptr, timer) != FALSE; }

    int GetThreadMessage(ThreadMessage* message) override {
        MSG msg{};
        const BOOL result = GetMessageA(&msg, nullptr, 0, 0);
        if (result == -1) {
            return -1;
        }
        *message = FromMsg(msg);
        return result != 0 ? 1 : 0;
    }

    bool TranslateThreadMessage(const ThreadMessage& message) override {
        const MSG msg = ToMsg(message);
        return TranslateMessage(&msg) != FALSE;
    }

    std::intptr_t DispatchThreadMessage(const ThreadMessage& message) override {
        const MSG msg = ToMsg(message);
        return DispatchMessageA(&msg);
    }

    std::uint32_t CurrentThreadId() override { return GetCurrentThreadId(); }

    bool PostToThread(std::uint32_t threadId, std::uint32_t message, std::uintptr_t wParam,
                      std::intptr_t lParam) override {
        return PostThreadMessageA(threadId, message, wParam, lParam) != FALSE;
    }

private:
    static ThreadMessage FromMsg(const MSG& msg) {
        ThreadMessage message;
        message.window = reinterpret_cast<WindowHandle>(msg.hwnd);
        message.message = msg.message;
        message.wParam = msg.wParam;
        message.lParam = msg.lParam;
        message.time = msg.time;
        message.x = msg.pt.x;
        message.y = msg.pt.y;
        return message;
    }

    static MSG ToMsg(const ThreadMessage& message) {
        MSG msg{};
        msg.hwnd = reinterpret_cast<HWND>(message.window);
        msg.message = message.message;
        msg.wParam = message.wParam;
        msg.lParam = message.lParam;
        msg.time = message.time;
        msg.pt.x = message.x;
        msg.pt.y = message.y;
        return msg;
    }
};

} // namespace

Ddeml& SystemDdeml() {
    static Win32Ddeml ddeml;
    return ddeml;
}

MessageQueue& SystemMessageQueue() {
    static Win32MessageQueue queue;
    return queue;
}

} // namespace platform
