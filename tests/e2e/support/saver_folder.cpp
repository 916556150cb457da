#include "support/saver_folder.h"

#include <stdexcept>

#include "support/bmp.h"
#include "support/text.h"

namespace kivo::e2e {

std::wstring KivoScrPath() {
    wchar_t fromEnvironment[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"KIVO_SCR", fromEnvironment, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        return std::wstring(fromEnvironment, length);
    }
#ifdef KIVO_SCR_PATH
    return WindowsPathFromBuild(KIVO_SCR_PATH);
#else
    throw std::runtime_error("this build has no Kivo.scr: set KIVO_SCR to one");
#endif
}

SaverFolder::SaverFolder() {
    const std::wstring scrPath = KivoScrPath();
    if (!FileExists(scrPath)) {
        throw std::runtime_error("Kivo.scr not found at " + Narrow(scrPath));
    }
    CopyFileOrThrow(scrPath, scr());
    folder_.MakeFolder(L"sample");
}

std::wstring SaverFolder::AddPicture(const std::wstring& name, int width, int height,
                                     COLORREF colour) const {
    const std::wstring picture = samples() + L"\\" + name;
    WriteSolidBmp(picture, width, height, colour);
    return picture;
}

ScopedProcess SaverFolder::Launch(const std::wstring& arguments) const {
    return ScopedProcess(scr(), arguments, path());
}

}  // namespace kivo::e2e
