// A stand-in program for the harness's own test: shows a host window titled by its first
// argument until it is closed or ended.
//   kivo_e2e_window_app.exe <title>
#include <windows.h>

#include <shellapi.h>

#include "support/host_window.h"

int main() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    const std::wstring title = count > 1 ? arguments[1] : L"kivo e2e window app";
    LocalFree(arguments);

    kivo::e2e::HostWindow window(title, 160, 120, RGB(0, 160, 80), {300, 300});
    MSG message;
    while (!window.closed() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
