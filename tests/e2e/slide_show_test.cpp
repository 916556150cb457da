// The slides on screen: where each picture lands, which file each tick shows, what a broken file
// leaves, and that a slow picture does not hold up the end of the saver.
#include <gtest/gtest.h>

#include <wincodec.h>

#include <functional>
#include <vector>

#include "kivo_test_fixture.h"

namespace kivo::e2e {
namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(220, 30, 30);
constexpr COLORREF kGreen = RGB(30, 200, 60);
constexpr COLORREF kBlue = RGB(40, 60, 220);

// A picture's natural size in pixels (15 twips each on the test display) and where it must land.
struct Landing {
    int width;
    int height;
    RECT shown;  // screen rectangle, right and bottom exclusive
};

void WriteLargeJpeg(const std::wstring& path, UINT width, UINT height);

class SlideShowTest : public KivoTest {
  protected:
    ScopedProcess StartShow(const wchar_t* interval) {
        StoreSetting(kIntervalValue, interval);
        MoveCursorTo(1023, 767);
        ScopedProcess saver = folder_.Launch(L"/s");
        if (WaitForSaverWindow(saver) == nullptr) {
            throw std::runtime_error("the slide show window did not appear");
        }
        return saver;
    }

    // The colours the centre of the screen shows, each change noted once, for `duration`.
    static std::vector<COLORREF> CentreColours(std::chrono::milliseconds duration) {
        std::vector<COLORREF> seen;
        const auto end = std::chrono::steady_clock::now() + duration;
        while (std::chrono::steady_clock::now() < end) {
            const COLORREF now = ScreenPixel(512, 384);
            if (seen.empty() || !ColoursClose(seen.back(), now)) {
                seen.push_back(now);
            }
            Sleep(2);
        }
        return seen;
    }

    // The slide show of one large picture, which takes long to decode, every 50 ms: a decode is
    // nearly always under way.
    ScopedProcess StartSlowShow() {
        WriteLargeJpeg(folder_.samples() + L"\\large.jpg", 8000, 6000);
        return StartShow(L"0.05");
    }

    // Once the picture has shown and the next decode has begun, acts; then the time from the
    // action until the window is hidden or gone.
    std::chrono::milliseconds TimeFromActionUntilGone(const ScopedProcess& saver,
                                                      const std::function<void()>& act) {
        if (!WaitForPixelChange({512, 384}, kBlack, 30s)) {
            ADD_FAILURE() << "the large picture never showed";
            return {};
        }
        Sleep(200);  // well inside the next decode
        HWND window = WaitForSaverWindow(saver, 1s);
        if (window == nullptr) {
            ADD_FAILURE() << "no saver window";
            return {};
        }
        const auto acted = std::chrono::steady_clock::now();
        act();
        EXPECT_TRUE(
            WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, 5s, 1ms));
        return std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - acted);
    }
};

class SlideLandingTest : public SlideShowTest, public ::testing::WithParamInterface<Landing> {};

TEST_P(SlideLandingTest, CoversExactlyItsRectangle) {
    const Landing& landing = GetParam();
    folder_.AddPicture(L"slide.bmp", landing.width, landing.height, kRed);
    ScopedProcess saver = StartShow(L"0.5");
    ASSERT_TRUE(WaitForPixel({512, 384}, kRed, 10s)) << ColourText(ScreenPixel(512, 384));

    const RECT& r = landing.shown;
    const int middle_x = (r.left + r.right) / 2;
    const int middle_y = (r.top + r.bottom) / 2;
    // Two pixels inside each edge is picture; two outside, where the screen goes on, is black.
    EXPECT_TRUE(ColoursClose(ScreenPixel(r.left + 2, middle_y), kRed, 24)) << "left edge";
    EXPECT_TRUE(ColoursClose(ScreenPixel(r.right - 3, middle_y), kRed, 24)) << "right edge";
    EXPECT_TRUE(ColoursClose(ScreenPixel(middle_x, std::max<int>(r.top, 0) + 2), kRed, 24))
        << "top edge";
    EXPECT_TRUE(ColoursClose(ScreenPixel(middle_x, std::min<int>(r.bottom, 768) - 3), kRed, 24))
        << "bottom edge";
    if (r.left >= 3) {
        EXPECT_TRUE(ColoursClose(ScreenPixel(r.left - 3, middle_y), kBlack)) << "left of it";
    }
    if (r.right <= 1021) {
        EXPECT_TRUE(ColoursClose(ScreenPixel(r.right + 2, middle_y), kBlack)) << "right of it";
    }
    if (r.top >= 3) {
        EXPECT_TRUE(ColoursClose(ScreenPixel(middle_x, r.top - 3), kBlack)) << "above it";
    }
    if (r.bottom <= 765) {
        EXPECT_TRUE(ColoursClose(ScreenPixel(middle_x, r.bottom + 2), kBlack)) << "below it";
    }
}

INSTANTIATE_TEST_SUITE_P(
    OnThe1024By768Screen, SlideLandingTest,
    ::testing::Values(Landing{400, 300, {312, 234, 712, 534}},   // fits: own size, centred
                      Landing{1024, 768, {0, 0, 1024, 768}},     // exactly the screen
                      Landing{2000, 1000, {0, 128, 1024, 640}},  // wide: to the width
                      Landing{600, 1200, {320, 0, 704, 768}},    // tall: to the height
                      Landing{800, 800, {128, 0, 896, 768}},     // square: to the height
                      Landing{
                          1000, 800, {0, -26, 1024, 794}}));  // wider: width, cut top and bottom

TEST_F(SlideShowTest, OneFileStaysOnScreenAtEveryTickWithoutFlashingBlack) {
    folder_.AddPicture(L"only.bmp", 300, 300, kGreen);
    ScopedProcess saver = StartShow(L"0.2");
    ASSERT_TRUE(WaitForPixel({512, 384}, kGreen, 10s));
    const std::vector<COLORREF> seen = CentreColours(2s);  // about ten ticks
    ASSERT_EQ(seen.size(), 1u) << "the centre changed to " << ColourText(seen.back());
}

TEST_F(SlideShowTest, TwoFilesAlternateStartingWithTheSecond) {
    folder_.AddPicture(L"a.bmp", 300, 300, kBlue);
    folder_.AddPicture(L"b.bmp", 300, 300, kGreen);
    ScopedProcess saver = StartShow(L"1");
    ASSERT_TRUE(WaitForPixelChange({512, 384}, kBlack, 10s));
    const std::vector<COLORREF> seen = CentreColours(2500ms);
    ASSERT_GE(seen.size(), 3u);
    EXPECT_TRUE(ColoursClose(ScreenPixel(512, 384), seen.back()));
    EXPECT_TRUE(ColoursClose(seen[0], kGreen)) << "the first slide is the second file";
    EXPECT_TRUE(ColoursClose(seen[1], kBlue)) << ColourText(seen[1]);
    EXPECT_TRUE(ColoursClose(seen[2], kGreen)) << ColourText(seen[2]);
}

TEST_F(SlideShowTest, ABrokenFileLeavesThePreviousPicture) {
    folder_.AddPicture(L"a.bmp", 300, 300, kRed);
    {
        HANDLE file = CreateFileW((folder_.samples() + L"\\b.bmp").c_str(), GENERIC_WRITE, 0,
                                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, "BM not really", 13, &written, nullptr);
        CloseHandle(file);
    }
    // Ticks alternate between the broken b.bmp (first) and a.bmp.
    ScopedProcess saver = StartShow(L"0.3");
    ASSERT_TRUE(WaitForPixel({512, 384}, kRed, 10s));
    const std::vector<COLORREF> seen = CentreColours(1500ms);
    EXPECT_EQ(seen.size(), 1u) << "the picture went away: " << ColourText(seen.back());
    EXPECT_TRUE(saver.running());
}

// Writes a large JPEG through the system's encoder: a slow picture to decode.
void WriteLargeJpeg(const std::wstring& path, UINT width, UINT height) {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    IWICImagingFactory* factory = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                               IID_PPV_ARGS(&factory)),
              S_OK);
    IWICStream* stream = nullptr;
    factory->CreateStream(&stream);
    ASSERT_EQ(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE), S_OK);
    IWICBitmapEncoder* encoder = nullptr;
    factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, &encoder);
    encoder->Initialize(stream, WICBitmapEncoderNoCache);
    IWICBitmapFrameEncode* frame = nullptr;
    encoder->CreateNewFrame(&frame, nullptr);
    frame->Initialize(nullptr);
    frame->SetSize(width, height);
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    frame->SetPixelFormat(&format);
    std::vector<BYTE> row(width * 3);
    for (UINT y = 0; y < height; ++y) {
        for (UINT x = 0; x < width; ++x) {
            row[x * 3] = static_cast<BYTE>((x * 7 + y) & 0xFF);
            row[x * 3 + 1] = static_cast<BYTE>((y * 3) & 0xFF);
            row[x * 3 + 2] = static_cast<BYTE>((x ^ y) & 0xFF);
        }
        frame->WritePixels(1, width * 3, width * 3, row.data());
    }
    frame->Commit();
    encoder->Commit();
    frame->Release();
    encoder->Release();
    stream->Release();
    factory->Release();
}

TEST_F(SlideShowTest, AKeyDuringASlowLoadEndsTheSaverAtOnce) {
    ScopedProcess saver = StartSlowShow();
    const auto took = TimeFromActionUntilGone(saver, [] { PressKey(VK_SPACE); });
    EXPECT_LE(took.count(), 100) << "the saver took " << took.count() << " ms to go";
    EXPECT_TRUE(saver.WaitForExit(3s));
}

// The click lands on the picture the screen still shows, while the next one is on its way.
TEST_F(SlideShowTest, AClickOnThePictureDuringASlowLoadEndsTheSaverAtOnce) {
    ScopedProcess saver = StartSlowShow();
    const auto took = TimeFromActionUntilGone(saver, [] { ClickAt(512, 384); });
    EXPECT_LE(took.count(), 100) << "the saver took " << took.count() << " ms to go";
    EXPECT_TRUE(saver.WaitForExit(3s));
}

}  // namespace
}  // namespace kivo::e2e
