// The dialog and the slide show agree: what the user sets in the dialog is what the next slide
// show runs with.
#include <algorithm>
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
        SetInterval(L"0.5");
        // The folder list ends with the subfolders of sample\.
        HWND folders = FrameList(true);
        HWND files = FrameList(false);
        ClickLine(folders, SendMessageW(folders, LB_GETCOUNT, 0, 0) - 1, 2);
        ASSERT_TRUE(WaitUntil([&] { return SendMessageW(files, LB_GETCOUNT, 0, 0) == 2; }, 3s))
            << "the file list does not show the chosen folder";
        Click(Control(L"Button", L"OK"));
        ASSERT_TRUE(dialog.WaitForExit(5s));
    }
    ASSERT_EQ(ReadValue(kSettingsKey, kFolderValue), TextValue(chosen.wstring()));

    ScopedProcess saver = StartSaver(nullptr);
    ASSERT_TRUE(WaitForPixel(kScreenCentre, 0x000000, 10s, true)) << "no slide showed";
    const std::vector<Sighting> seen = WatchPixel(kScreenCentre, 3s);
    for (const Sighting& slide : seen) {
        EXPECT_FALSE(ColoursClose(slide.colour, kRed)) << "a picture of the folder not chosen";
    }
    // A slide every half second: about six in three seconds, evenly spaced.
    ASSERT_GE(seen.size(), 5u) << "too slow for 0.5 s";
    EXPECT_LE(seen.size(), 9u) << "too fast for 0.5 s";
    std::vector<double> gaps;
    for (std::size_t i = 2; i < seen.size(); ++i) {
        gaps.push_back(seen[i].seconds - seen[i - 1].seconds);
    }
    std::sort(gaps.begin(), gaps.end());
    EXPECT_GT(gaps[gaps.size() / 2], 0.35);
    EXPECT_LT(gaps[gaps.size() / 2], 0.75);
}

}  // namespace
}  // namespace kivo::e2e
