#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <future>

#include "forms_runtime/basics/errors.h"
#include "forms_runtime/win32/picture/decoder_client.h"
#include "tests/common/picture_bytes.h"
#include "tests/common/temp_folder.h"
#include "tests/common/win32/process_faults.h"

namespace kivo::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kLimit = 1500ms;

TEST(DecoderClientTest, AHungHelperIsGivenUpAtTheTimeLimitAndTheNextLoadGetsANewHelper) {
    TempFolder pictures;
    const std::string picture = pictures.Write("a.bmp", SolidBmp(8, 8, 0xFF0000)).string();
    forms::win32::DecoderClient client(
        std::filesystem::path(KIVO_SCR_PATH).make_preferred().wstring(),
        static_cast<DWORD>(kLimit.count()));
    ASSERT_NE(client.Load(picture, {}, {}), nullptr);
    const DWORD hung = client.helper_process_id();

    // The helper asks the scale once it has read the picture's header; it hears the answer only
    // once it hangs.
    const HANDLE asked = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const HANDLE hanging = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const forms::DecodeHint hint{[&](int, int) {
        SetEvent(asked);
        WaitForSingleObject(hanging, 10000);
        return 0.5;
    }};
    const auto started = Clock::now();
    auto load = std::async(std::launch::async, [&] {
        try {
            client.Load(picture, hint, {});
            ADD_FAILURE() << "the hung helper's picture loaded";
        } catch (const forms::RuntimeError& error) {
            EXPECT_EQ(error.kind(), forms::ErrorKind::InvalidPicture);
        }
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started);
    });
    ASSERT_EQ(WaitForSingleObject(asked, 5000), WAIT_OBJECT_0);
    ASSERT_GT(Hang(hung), 0);
    SetEvent(hanging);
    // A correct client gives up at the limit; one that does not waits as long as the helper
    // hangs. Ten times the limit tells the two apart however busy the machine.
    if (load.wait_for(10 * kLimit) != std::future_status::ready) {
        ADD_FAILURE() << "the load was not given up";
        Crash(hung);  // lets the load return
    }
    EXPECT_GE(load.get(), kLimit - 100ms) << "given up before the time limit";
    EXPECT_FALSE(Runs(hung)) << "the hung helper was left running";

    ASSERT_NE(client.Load(picture, {}, {}), nullptr);
    EXPECT_NE(client.helper_process_id(), hung);
    CloseHandle(asked);
    CloseHandle(hanging);
}

}  // namespace
}  // namespace kivo::test
