// The dialog and the slide show agree: what the user sets in the dialog is what the next slide
// show runs with.
#include "setting_dialog_test.h"

namespace kivo::e2e {
namespace {

constexpr std::uint32_t kBlue = 0x283CDC;
constexpr std::uint32_t kGreen = 0x1EC83C;
constexpr std::uint32_t kRed = 0xDC1E1E;

using SettingSaverAgreementTest = SettingDialogTest;

TEST_F(SettingSaverAgreementTest, TheSlideShowUsesTheFolderAndPaceChosenInTheDialog) {
    const std::filesystem::path chosen = L"選んだ";  // a folder in sample
    AddPicture(chosen / L"a.bmp", test::SolidBmp(300, 300, kBlue));
    AddPicture(chosen / L"b.bmp", test::SolidBmp(300, 300, kGreen));
    AddPicture(L"赤.bmp", test::SolidBmp(300, 300, kRed));  // in the folder not chosen
    {
        ScopedProcess dialog = OpenDialog();
        SetInterval(L"0.1");
        ASSERT_TRUE(OpenSubfolder(chosen)) << "the folder list does not show the folder to choose";
        ASSERT_TRUE(
            WaitUntil([&] { return SendMessageW(FrameList(false), LB_GETCOUNT, 0, 0) == 2; }, 15s))
            << "the file list does not show the chosen folder";
        Click(Control(L"Button", L"OK"));
        ASSERT_TRUE(dialog.WaitForExit(15s));
    }
    ScopedProcess saver = StartSaver(nullptr);
    // Each new slide at the centre: the chosen folder's two pictures take turns.
    std::uint32_t last = 0;
    int slides = 0;
    bool unchosen = false;
    const auto tenSlides = [&] {
        const std::uint32_t now = ScreenPixel(kScreenCentre);
        unchosen = unchosen || ColoursClose(now, kRed);
        if ((ColoursClose(now, kBlue) || ColoursClose(now, kGreen)) && !ColoursClose(now, last)) {
            last = now;
            ++slides;
        }
        return slides >= 10;
    };
    // Ten slides at 0.1 s take a second; at the 3 s a saver falls back to when it reads no
    // interval they would take thirty. The deadline is ten times the first.
    const bool ten = WaitUntil(tenSlides, 10s);
    EXPECT_FALSE(unchosen) << "a picture of the folder not chosen";
    EXPECT_TRUE(ten) << "too slow for 0.1 s: " << slides << " slides";
}

}  // namespace
}  // namespace kivo::e2e
