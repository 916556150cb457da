// Kivo.scr started as the preview inside a window of another process.
#include <memory>

#include "kivo_test.h"

namespace kivo::e2e {
namespace {

using StartupTest = KivoTest;

TEST_F(StartupTest, ThePreviewFillsItsHostLetsTheSlideShowStartAndEndsWithTheHost) {
    std::unique_ptr<HWND__, decltype(&DestroyWindow)> host(
        CreateWindowExW(0, L"Static", L"kivo e2e preview host",
                        WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 80, 80, 160, 120,
                        nullptr, nullptr, nullptr, nullptr),
        &DestroyWindow);
    ASSERT_NE(host, nullptr);
    ScopedProcess preview =
        Launch(L"/p " + std::to_wstring(reinterpret_cast<UINT_PTR>(host.get())));
    HWND child = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            child = FindWindowExW(host.get(), nullptr, nullptr, kPreviewTitle);
            return child != nullptr && IsWindowVisible(child);
        },
        15s))
        << "no preview window shown in the host";
    RECT client{};
    GetClientRect(host.get(), &client);
    MapWindowPoints(host.get(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    RECT placed{};
    GetWindowRect(child, &placed);
    EXPECT_TRUE(EqualRect(&placed, &client)) << "the preview does not fill the host";
    EXPECT_FALSE(ScreenSaverFlag()) << "a preview is no running screen saver";

    EXPECT_NO_THROW(StartSaver(L"600")) << "the preview counted as a running copy";
    host.reset();
    EXPECT_TRUE(preview.WaitForExit(3s)) << "the preview outlived its host";
}

}  // namespace
}  // namespace kivo::e2e
