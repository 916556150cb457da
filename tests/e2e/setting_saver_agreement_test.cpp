// The dialog and the slide show agree: what the user sets in the dialog is what the next slide
// show runs with.
#include <vector>

#include "setting_dialog_test.h"

namespace kivo::e2e {
namespace {

constexpr std::uint32_t kBlue = 0x283CDC;
constexpr std::uint32_t kGreen = 0x1EC83C;
constexpr std::uint32_t kRed = 0xDC1E1E;

using SettingSaverAgreementTest = SettingDialogTest;

TEST_F(SettingSaverAgreementTest, TheSlideShowUsesTheFolderAndPaceChosenInTheDialog) {
    const std::filesystem::path chosen = folder_.MakeFolder(L"sample\\選んだ");
    folder_.Write(chosen / L"a.bmp", test::SolidBmp(300, 300, kBlue));
    folder_.Write(chosen / L"b.bmp", test::SolidBmp(300, 300, kGreen));
    AddPicture(L"赤.bmp", test::SolidBmp(300, 300, kRed));  // in the folder not chosen
    {
        ScopedProcess dialog = OpenDialog();
        SetInterval(L"0.1");
        HWND folders = FrameList(true);
        HWND files = FrameList(false);
        // The subfolders of sample\ come from a reading of their own, after the dialog shows.
        LRESULT line = LB_ERR;
        ASSERT_TRUE(WaitUntil(
            [&] {
                line = SendMessageW(folders, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(chosen.filename().c_str()));
                return line != LB_ERR;
            },
            15s))
            << "the folder list does not show the folder to choose";
        ClickLine(folders, line, 2);
        ASSERT_TRUE(WaitUntil([&] { return SendMessageW(files, LB_GETCOUNT, 0, 0) == 2; }, 15s))
            << "the file list does not show the chosen folder";
        Click(Control(L"Button", L"OK"));
        ASSERT_TRUE(dialog.WaitForExit(15s));
    }
    ASSERT_EQ(ReadValue(kSettingsKey, kFolderValue), TextValue(chosen.wstring()));

    ScopedProcess saver = StartSaver(nullptr);
    // Each new slide at the centre; the two pictures take turns.
    std::vector<Sighting> slides;
    bool unchosen = false;
    const auto start = std::chrono::steady_clock::now();
    const auto tenSlides = [&] {
        const std::uint32_t now = ScreenPixel(kScreenCentre);
        unchosen = unchosen || ColoursClose(now, kRed);
        const bool slide = ColoursClose(now, kBlue) || ColoursClose(now, kGreen);
        if (slide && (slides.empty() || !ColoursClose(slides.back().colour, now))) {
            const std::chrono::duration<double> since = std::chrono::steady_clock::now() - start;
            slides.push_back({now, since.count()});
        }
        return slides.size() > 10;
    };
    // Ten slides at 0.1 s take a second; at the 3 s a saver falls back to when it reads no
    // interval they would take thirty. The deadline is ten times the first.
    const bool ten = WaitUntil(tenSlides, 10s);
    EXPECT_FALSE(unchosen) << "a picture of the folder not chosen";
    ASSERT_TRUE(ten) << "too slow for 0.1 s: " << slides.size() << " slides";
    // Nor faster than chosen, which a busy machine never makes them.
    EXPECT_GE(slides.back().seconds - slides.front().seconds, 0.7) << "too fast for 0.1 s";
}

}  // namespace
}  // namespace kivo::e2e
