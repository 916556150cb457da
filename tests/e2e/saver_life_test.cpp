// The slide show's life: what ends it, what does not, the password check, the preview's end,
// and a folder that is not there.
#include <gtest/gtest.h>

#include "kivo_test_fixture.h"

namespace kivo::e2e {
namespace {

constexpr wchar_t kPasswordKey[] = L"Software\\KivoE2ePassword";

bool PointerShowing() {
    CURSORINFO cursor{};
    cursor.cbSize = sizeof cursor;
    return GetCursorInfo(&cursor) && (cursor.flags & CURSOR_SHOWING) != 0;
}

class SaverLifeTest : public KivoTest {
  protected:
    // Starts the full-screen show with no slide during the test: only the design-size picture
    // area, the top-left 330 x 159 pixels, watches the mouse.
    ScopedProcess StartQuietSaver() {
        StoreSetting(kIntervalValue, L"600");
        MoveCursorTo(700, 600);  // over the black area
        ScopedProcess saver = folder_.Launch(L"/s");
        saver_window_ = WaitForSaverWindow(saver);
        if (saver_window_ == nullptr) {
            throw std::runtime_error("the slide show window did not appear");
        }
        BringToForeground(saver_window_);
        return saver;
    }

    HWND saver_window_ = nullptr;
};

TEST_F(SaverLifeTest, AKeyEndsTheSaverShowsThePointerAndClearsTheFlag) {
    ScopedProcess saver = StartQuietSaver();
    ASSERT_TRUE(WaitUntil([] { return ScreenSaverRunningFlag(); }, 5s));
    PressKey(VK_SHIFT);
    EXPECT_TRUE(saver.WaitForExit(1s)) << "still running a second after the key";
    EXPECT_FALSE(ScreenSaverRunningFlag());
    EXPECT_TRUE(PointerShowing());
}

TEST_F(SaverLifeTest, OnlyASecondMoveOfBothCoordinatesOverThePictureEnds) {
    ScopedProcess saver = StartQuietSaver();
    MoveCursorTo(100, 100);  // first move over the picture: only recorded
    EXPECT_FALSE(saver.WaitForExit(500ms));
    MoveCursorTo(250, 100);  // horizontal only
    MoveCursorTo(250, 100);
    EXPECT_FALSE(saver.WaitForExit(500ms));
    MoveCursorTo(280, 140);
    EXPECT_TRUE(saver.WaitForExit(2s));
}

TEST_F(SaverLifeTest, TheBlackAreaDoesNotWatchTheMouse) {
    ScopedProcess saver = StartQuietSaver();
    MoveCursorTo(600, 400);
    MoveCursorTo(800, 700);
    ClickAt(900, 650);
    EXPECT_FALSE(saver.WaitForExit(1s));
    ClickAt(50, 50);  // a button over the picture ends it
    EXPECT_TRUE(saver.WaitForExit(2s));
}

TEST_F(SaverLifeTest, TheFolderComesFromTheSettings) {
    TempFolder pictures;
    WriteSolidBmp(pictures / L"green.bmp", 300, 200, RGB(0, 200, 0));
    StoreSetting(kFolderValue, pictures.path());
    StoreSetting(kIntervalValue, L"0.2");
    ScopedProcess saver = folder_.Launch(L"/s");
    ASSERT_NE(WaitForSaverWindow(saver), nullptr);
    EXPECT_TRUE(WaitForPixel({512, 384}, RGB(0, 200, 0), 5s))
        << "centre reads " << ColourText(ScreenPixel(512, 384));
}

// A password service planted where the system keeps its own.
class PlantedPasswordService {
  public:
    explicit PlantedPasswordService(DWORD answer) {
        wchar_t system[MAX_PATH];
        GetSystemDirectoryW(system, MAX_PATH);
        path_ = std::wstring(system) + L"\\password.cpl";
        CopyFileOrThrow(WindowsPathFromBuild(KIVO_E2E_PASSWORD_CPL), path_);
        SetRegistryDword(kPasswordKey, L"Answer", answer);
        SetRegistryDword(kPasswordKey, L"Calls", 0);
    }
    ~PlantedPasswordService() {
        DeleteFileW(path_.c_str());
        DeleteRegistryKey(kPasswordKey);
    }
    void Answer(DWORD answer) { SetRegistryDword(kPasswordKey, L"Answer", answer); }
    DWORD calls() const { return GetRegistryDword(kPasswordKey, L"Calls").value_or(0); }

  private:
    std::wstring path_;
};

TEST_F(SaverLifeTest, ARefusedPasswordKeepsTheSaverAndAnAcceptedOneEndsIt) {
    PlantedPasswordService service(0x10000);  // low 16 bits 0: not verified
    SetRegistryString(kDesktopKey, L"ScreenSaveUsePassword", L"1");
    ScopedProcess saver = StartQuietSaver();

    PressKey(VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return service.calls() == 1; }, 3s)) << "no password check";
    EXPECT_FALSE(saver.WaitForExit(1s));
    EXPECT_TRUE(ScreenSaverRunningFlag());
    EXPECT_FALSE(PointerShowing());

    service.Answer(1);
    BringToForeground(saver_window_);
    PressKey(VK_SPACE);
    EXPECT_TRUE(saver.WaitForExit(3s));
    EXPECT_EQ(service.calls(), 2u);
    EXPECT_FALSE(ScreenSaverRunningFlag());
}

TEST_F(SaverLifeTest, PreviewIgnoresKeysAndEndsWithItsHost) {
    auto host = std::make_unique<HostWindow>(L"kivo e2e preview host", 152, 112, RGB(40, 120, 200));
    ScopedProcess preview = LaunchPreview(*host);
    ASSERT_NE(WaitForPreviewWindow(preview), nullptr);

    BringToForeground(host->hwnd());
    PressKey(VK_SPACE);
    EXPECT_FALSE(preview.WaitForExit(500ms));

    host.reset();  // destroys the host and with it the preview window
    EXPECT_TRUE(preview.WaitForExit(2s)) << "the preview outlived its host";
}

TEST_F(SaverLifeTest, AMissingFolderIsReportedAndNoSaverWindowShows) {
    StoreSetting(kFolderValue, L"C:\\kivo-e2e-no-such-folder");
    ScopedProcess saver = folder_.Launch(L"/s");
    HWND message = WaitForWindow(kApplicationTitle, 15s, saver.id());
    ASSERT_NE(message, nullptr) << "no error message";
    WindowQuery titled;
    titled.title = kSaverWindowTitle;
    titled.processId = saver.id();
    EXPECT_EQ(FindMatchingWindow(titled), nullptr);

    bool names_folder = false;
    for (HWND child : ChildWindows(message)) {
        if (WindowTitle(child).find(L"kivo-e2e-no-such-folder") != std::wstring::npos) {
            names_folder = true;
        }
    }
    EXPECT_TRUE(names_folder) << "the message names the missing folder";

    BringToForeground(message);
    PressKey(VK_RETURN);
    EXPECT_TRUE(saver.WaitForExit(3s));
    EXPECT_EQ(FindMatchingWindow(titled), nullptr);
}

}  // namespace
}  // namespace kivo::e2e
