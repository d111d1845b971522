#pragma once
// What drvsim's Win32 parts share: <windows.h>, UTF-8/UTF-16 conversion, a clock, and waiting
// that keeps this thread's messages flowing (the program sends messages to drvsim's windows,
// for example its owner window, and must never block on a drvsim that only sleeps).
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace drvsim {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// Milliseconds since an arbitrary start, monotonic.
std::int64_t NowMs();

// A hook that sees every message this thread retrieves before it is dispatched.
using MessageHook = std::function<void(const MSG&)>;
void SetMessageHook(MessageHook hook);

// Dispatches this thread's messages for `ms` milliseconds, or until `done` returns true (tested
// before waiting and after every wake-up, which comes at least every `wakeMs`: conditions such
// as a window appearing send no message). `process`, when given, also wakes the wait when it
// ends. True when `done` became true.
bool PumpUntil(const std::function<bool()>& done, int ms, HANDLE process = nullptr,
               int wakeMs = 20);
inline void Pump(int ms) {
    PumpUntil([] { return false; }, ms);
}

// SendMessageTimeoutW with a bound; false when the window did not answer in time (it may be
// inside a modal loop of its own). `result` receives the answer.
bool SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr,
                 int timeoutMs = 3000);

// Lets the window's thread handle what was posted to it: bounded sends of WM_NULL, which it
// answers only when it next looks at its queue.
void Settle(HWND window);

// The text of any window, read through WM_GETTEXT (which crosses processes).
std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);

// Whether the process has ended (false for a null handle).
bool HasEnded(HANDLE process);

} // namespace drvsim
