// The dialog and the slide show agree: what the user sets in the dialog is what the next slide
// show runs with.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "setting_dialog.h"

namespace kivo::e2e {
namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kBlue = RGB(40, 60, 220);
constexpr COLORREF kGreen = RGB(30, 200, 60);

// The moments (since the start) at which the centre of the screen changed colour, for `duration`.
std::vector<double> CentreChanges(std::chrono::milliseconds duration) {
    std::vector<double> changes;
    const auto start = std::chrono::steady_clock::now();
    COLORREF last = ScreenPixel(512, 384);
    for (auto now = start; now - start < duration; now = std::chrono::steady_clock::now()) {
        const COLORREF colour = ScreenPixel(512, 384);
        if (!ColoursClose(colour, last)) {
            changes.push_back(std::chrono::duration<double>(now - start).count());
            last = colour;
        }
        Sleep(2);
    }
    return changes;
}

class SettingSaverAgreementTest : public SettingDialogTest {};

TEST_F(SettingSaverAgreementTest, TheSlideShowUsesTheFolderAndPaceChosenInTheDialog) {
    const std::wstring chosen = folder_.folder().MakeFolder(L"sample\\選んだ");
    WriteSolidBmp(chosen + L"\\a.bmp", 300, 300, kBlue);
    WriteSolidBmp(chosen + L"\\b.bmp", 300, 300, kGreen);
    folder_.AddPicture(L"赤.bmp", 300, 300, RGB(220, 30, 30));  // the folder not chosen
    {
        ScopedProcess dialog = OpenDialog();
        ASSERT_TRUE(TypeIntoBox(windows_.interval, L"0.5"));

        // Opens the chosen folder with a double click on its line in the folder list.
        const auto lines = ListLines(windows_.folders);
        const auto line = std::find(lines.begin(), lines.end(), L"選んだ");
        ASSERT_NE(line, lines.end()) << "the subfolder is not listed";
        const POINT at = LineCentre(windows_.folders, static_cast<int>(line - lines.begin()));
        Click(at, 2);
        ASSERT_TRUE(WaitUntil([&] { return ListLines(windows_.files).size() == 2; }, 3s))
            << "the file list does not show the chosen folder";

        ClickOn(windows_.ok);
        ASSERT_TRUE(dialog.WaitForExit(5s));
    }
    ASSERT_EQ(ReadStored().folder, std::optional<std::wstring>(chosen));
    WaitForNoSaverTitle();

    MoveCursorTo(1023, 767);
    ScopedProcess saver = folder_.Launch(L"/s");
    ASSERT_NE(WaitForSaverWindow(saver), nullptr);
    ASSERT_TRUE(WaitForPixelChange({512, 384}, kBlack, 10s)) << "no slide showed";
    const std::vector<double> changes = CentreChanges(3s);
    const COLORREF now = ScreenPixel(512, 384);
    EXPECT_TRUE(ColoursClose(now, kBlue) || ColoursClose(now, kGreen))
        << "not a picture of the chosen folder: " << ColourText(now);

    // A slide every half second: about six changes in three seconds, evenly spaced.
    ASSERT_GE(changes.size(), 4u) << "too slow for 0.5 s";
    EXPECT_LE(changes.size(), 8u) << "too fast for 0.5 s";
    std::vector<double> gaps;
    for (std::size_t i = 1; i < changes.size(); ++i) {
        gaps.push_back(changes[i] - changes[i - 1]);
    }
    std::sort(gaps.begin(), gaps.end());
    const double median = gaps[gaps.size() / 2];
    EXPECT_GT(median, 0.35);
    EXPECT_LT(median, 0.75);
}

}  // namespace
}  // namespace kivo::e2e
