/* Stands for the maker's profile download manager in the demo: each start appends its command
 * line to a log file beside the program (OZProfDl.exe writes OZProfDl.log), then ends. Built by
 * scripts/demo with the mingw-w64 compiler. */
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR arguments, int show) {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH - 4)
        return 1;
    wchar_t *dot = wcsrchr(path, L'.');
    if (dot == NULL)
        dot = path + length;
    lstrcpynW(dot, L".log", (int)(MAX_PATH - (dot - path)));
    HANDLE log = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, NULL);
    if (log == INVALID_HANDLE_VALUE)
        return 1;
    const wchar_t *line = GetCommandLineW();
    char utf8[4096];
    int bytes = WideCharToMultiByte(CP_UTF8, 0, line, -1, utf8, sizeof utf8 - 2, NULL, NULL);
    if (bytes > 0) {
        utf8[bytes - 1] = '\r';
        utf8[bytes] = '\n';
        DWORD written = 0;
        WriteFile(log, utf8, (DWORD)bytes + 1, &written, NULL);
    }
    CloseHandle(log);
    (void)instance;
    (void)previous;
    (void)arguments;
    (void)show;
    return 0;
}
