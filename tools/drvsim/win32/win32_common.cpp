#include "tools/drvsim/win32/win32_common.h"

#include <algorithm>
#include <vector>

#include "platform/codepage1250.h"

namespace drvsim {
namespace {

MessageHook& Hook() {
    static MessageHook hook;
    return hook;
}

void DispatchPending() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (Hook())
            Hook()(message);
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace

std::wstring Wide(std::string_view utf8) {
    const std::u16string text = platform::Utf8ToUtf16(utf8);
    return std::wstring(text.begin(), text.end());
}

std::string Utf8(std::wstring_view wide) {
    return platform::Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

std::int64_t NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart * 1000 / frequency.QuadPart;
}

void SetMessageHook(MessageHook hook) {
    Hook() = std::move(hook);
}

bool PumpUntil(const std::function<bool()>& done, int ms, HANDLE process, int wakeMs) {
    const std::int64_t deadline = NowMs() + ms;
    for (;;) {
        DispatchPending();
        if (done())
            return true;
        const std::int64_t left = deadline - NowMs();
        if (left <= 0)
            return false;
        const DWORD wait = static_cast<DWORD>(std::min<std::int64_t>(left, std::max(wakeMs, 1)));
        if (process != nullptr && !HasEnded(process))
            MsgWaitForMultipleObjects(1, &process, FALSE, wait, QS_ALLINPUT);
        else
            MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
    }
}

bool SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result,
                 int timeoutMs) {
    DWORD_PTR answer = 0;
    const LRESULT sent = SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL,
                                             static_cast<UINT>(timeoutMs), &answer);
    if (result)
        *result = static_cast<LRESULT>(answer);
    return sent != 0;
}

void Settle(HWND window) {
    for (int i = 0; i < 3; ++i) {
        SendBounded(window, WM_NULL, 0, 0, nullptr, 1000);
        Pump(5);
    }
}

std::wstring WindowText(HWND window) {
    LRESULT length = 0;
    if (!SendBounded(window, WM_GETTEXTLENGTH, 0, 0, &length) || length <= 0)
        return {};
    std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1, L'\0');
    LRESULT copied = 0;
    SendBounded(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), &copied);
    return std::wstring(text.data(), static_cast<std::size_t>(std::max<LRESULT>(copied, 0)));
}

std::wstring ClassName(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

bool HasEnded(HANDLE process) {
    return process != nullptr && WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
}

} // namespace drvsim
