/* A stand-in for a Windows program the gradebook starts (LibreOffice's
   scalc.exe, the default program for PDF files) in the end-to-end tests under
   wine: appends its whole command line, UTF-8, to "<its own path>.txt" and
   then waits as long as "<its own path>.warten" exists (at most two minutes),
   so a test can see the gradebook wait for it. */
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR arguments, int show) {
    (void)instance; (void)previous; (void)arguments; (void)show;
    wchar_t self[MAX_PATH + 16];
    DWORD n = GetModuleFileNameW(NULL, self, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return 1;
    wchar_t record[MAX_PATH + 16], wait[MAX_PATH + 16];
    lstrcpyW(record, self);
    lstrcatW(record, L".txt");
    lstrcpyW(wait, self);
    lstrcatW(wait, L".warten");

    const wchar_t* line = GetCommandLineW();
    char utf8[8192];
    int bytes = WideCharToMultiByte(CP_UTF8, 0, line, -1, utf8, sizeof utf8 - 2, NULL, NULL);
    if (bytes <= 0) return 2;
    bytes -= 1; /* without the NUL */
    utf8[bytes++] = '\r';
    utf8[bytes++] = '\n';
    HANDLE f = CreateFileW(record, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (f == INVALID_HANDLE_VALUE) return 3;
    DWORD written = 0;
    WriteFile(f, utf8, (DWORD)bytes, &written, NULL);
    CloseHandle(f);

    for (int i = 0; i < 1200 && GetFileAttributesW(wait) != INVALID_FILE_ATTRIBUTES; ++i) Sleep(100);
    return 0;
}
