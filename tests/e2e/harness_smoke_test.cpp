// Proves the harness itself: the display, pixels read back, a launched program found and
// ended, input reaching a window, registry restore, and pictures the tests write.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/kivo.h"

namespace kivo::e2e {
namespace {

std::wstring UniqueTitle(const wchar_t* what) {
    return std::wstring(L"kivo e2e ") + what + L" " + std::to_wstring(GetCurrentProcessId()) +
           L" ウィンドウ";
}

TEST(HarnessDisplay, IsTheVirtualScreenAt96Dpi) {
    const SIZE screen = ScreenSize();
    EXPECT_EQ(screen.cx, 1024);
    EXPECT_EQ(screen.cy, 768);
    EXPECT_EQ(ScreenDpi(), 96);
}

TEST(HarnessDisplay, OwnWindowIsShownAndItsPixelsReadBack) {
    const std::wstring title = UniqueTitle(L"host");
    HostWindow host(title, 200, 150, RGB(220, 30, 40));

    HWND found = WaitForWindow(title, 5s, GetCurrentProcessId());
    ASSERT_EQ(found, host.hwnd());
    const WindowFacts facts = DescribeWindow(found);
    EXPECT_TRUE(facts.visible);
    EXPECT_EQ(facts.clientSize.cx, 200);
    EXPECT_EQ(facts.clientSize.cy, 150);
    EXPECT_EQ(facts.parent, nullptr);
    EXPECT_EQ(facts.title, title);

    const POINT centre = host.ClientCentreOnScreen();
    ASSERT_TRUE(WaitForPixel(centre, RGB(220, 30, 40), 5s))
        << "pixel reads " << ColourText(ScreenPixel(centre));

    // Repainting is seen too: the reads are live, not a stale first frame.
    host.SetBackground(RGB(20, 90, 230));
    ASSERT_TRUE(WaitForPixel(centre, RGB(20, 90, 230), 5s))
        << "pixel reads " << ColourText(ScreenPixel(centre));
    const RECT client = host.ClientOnScreen();
    const RECT inner{client.left + 10, client.top + 10, client.right - 10, client.bottom - 10};
    EXPECT_GT(ShareOfColour(ScreenPixels(inner), RGB(20, 90, 230)), 0.99);
}

TEST(HarnessProcess, LaunchedProgramIsFoundAndEndedWithItsScope) {
    TempFolder work;
    const std::wstring title = UniqueTitle(L"child");
    HANDLE watch = nullptr;
    {
        ScopedProcess app(WindowsPathFromBuild(KIVO_E2E_WINDOW_APP), L"\"" + title + L"\"",
                          work.path());
        HWND window = WaitForWindow(title, 10s, app.id());
        ASSERT_NE(window, nullptr) << "the launched program's window did not appear";
        EXPECT_EQ(ProcessOfWindow(window), app.id());
        const auto windows = WindowsOfProcess(app.id());
        EXPECT_NE(std::find(windows.begin(), windows.end(), window), windows.end());
        EXPECT_TRUE(app.running());
        EXPECT_FALSE(app.exitCode().has_value());
        ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), app.handle(), GetCurrentProcess(), &watch,
                                    SYNCHRONIZE, FALSE, 0));
    }
    EXPECT_EQ(WaitForSingleObject(watch, 0), WAIT_OBJECT_0) << "still running after its scope";
    CloseHandle(watch);
    WindowQuery query;
    query.title = title;
    query.visibleOnly = false;
    EXPECT_TRUE(WaitForNoWindow(query, 3s)) << "its window outlived it";
}

TEST(HarnessProcess, ClosedProgramReportsItsExit) {
    TempFolder work;
    const std::wstring title = UniqueTitle(L"closing");
    ScopedProcess app(WindowsPathFromBuild(KIVO_E2E_WINDOW_APP), L"\"" + title + L"\"",
                      work.path());
    HWND window = WaitForWindow(title, 10s, app.id());
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit(5s));
    EXPECT_EQ(app.exitCode(), std::optional<DWORD>(0));
}

TEST(HarnessInput, KeysAndClicksReachTheForegroundWindow) {
    HostWindow host(UniqueTitle(L"input"), 240, 160, RGB(250, 250, 250));
    ASSERT_TRUE(BringToForeground(host.hwnd()));

    PressKey(VK_SPACE);
    EXPECT_TRUE(WaitUntil([&] { return host.ReceivedMessage(WM_KEYDOWN, VK_SPACE); }, 3s));
    TypeText(L"あ");
    EXPECT_TRUE(WaitUntil([&] { return host.ReceivedMessage(WM_CHAR, L'あ'); }, 3s));

    const POINT centre = host.ClientCentreOnScreen();
    ClickAt(centre.x, centre.y);
    const POINT cursor = CursorPosition();
    EXPECT_EQ(cursor.x, centre.x);
    EXPECT_EQ(cursor.y, centre.y);
    EXPECT_TRUE(WaitUntil([&] { return host.ReceivedMessage(WM_LBUTTONUP, 0); }, 3s));
}

TEST(HarnessRegistry, ScopedKeyPutsBackWhatTheTestChanged) {
    const std::wstring key = L"Software\\KivoE2eHarness\\" + UniqueTitle(L"設定");
    DeleteRegistryKey(key);
    SetRegistryString(key, L"残る", L"元の値");
    {
        ScopedRegistryKey guard(key);
        SetRegistryString(key, L"残る", L"変えた値");
        SetRegistryDword(key, L"増えた", 7);
        SetRegistryString(key + L"\\下", L"名前", L"値");
        EXPECT_EQ(GetRegistryString(key, L"残る"), std::optional<std::wstring>(L"変えた値"));
        EXPECT_EQ(GetRegistryDword(key, L"増えた"), std::optional<DWORD>(7));
    }
    EXPECT_EQ(GetRegistryString(key, L"残る"), std::optional<std::wstring>(L"元の値"));
    EXPECT_FALSE(RegistryValueExists(key, L"増えた"));
    EXPECT_FALSE(RegistryKeyExists(key + L"\\下"));
    {
        ScopedRegistryKey guard(key + L"\\無い");
        SetRegistryString(key + L"\\無い", L"a", L"b");
    }
    EXPECT_FALSE(RegistryKeyExists(key + L"\\無い"));
    DeleteRegistryKey(L"Software\\KivoE2eHarness");
    EXPECT_FALSE(RegistryKeyExists(key));
}

TEST(HarnessPictures, WrittenBmpLoadsWithItsSizeAndColours) {
    TempFolder work;
    const std::wstring file = work / L"二色.bmp";
    // An odd width exercises the row padding; the halves show the rows are not upside down.
    WriteBmp(file, 33, 17, [](int, int y) { return y < 8 ? RGB(200, 10, 30) : RGB(10, 40, 250); });

    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0,
                                                     LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 33);
    EXPECT_EQ(info.bmHeight, 17);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    EXPECT_EQ(GetPixel(dc, 32, 0), RGB(200, 10, 30));
    EXPECT_EQ(GetPixel(dc, 0, 16), RGB(10, 40, 250));
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

}  // namespace
}  // namespace kivo::e2e
