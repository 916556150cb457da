// The decoder helper's sandbox with the real helper (the built Kivo.scr), which waits on a pipe of
// the test's: it runs in a job, and ends when ended or when the sandbox goes (its job closed).
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>

#include "forms_runtime/win32/picture/decoder_protocol.h"
#include "forms_runtime/win32/picture/helper_sandbox.h"

namespace kivo::test {
namespace {

TEST(HelperSandboxTest, TheHelperRunsInItsJobAndEndsWhenEndedOrWhenTheSandboxGoes) {
    const std::wstring program = std::filesystem::path(KIVO_SCR_PATH).make_preferred().wstring();
    for (const bool ended : {true, false}) {
        SCOPED_TRACE(ended ? "ended" : "the sandbox goes");
        SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
        HANDLE handed[2] = {};  // the helper's end of the pipe, and this process
        HANDLE ours = nullptr;
        CreatePipe(&handed[0], &ours, &inherited, 0);
        DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &handed[1],
                        SYNCHRONIZE, TRUE, 0);
        std::wstring command = L"\"" + program + L"\" " + forms::win32::kDecoderArgument;
        for (HANDLE handle : handed) {
            command += L" " + std::to_wstring(reinterpret_cast<UINT_PTR>(handle));
        }
        auto helper = std::make_unique<forms::win32::HelperSandbox>(program, command, handed);
        ASSERT_TRUE(helper->started());
        BOOL in_job = FALSE;
        EXPECT_TRUE(IsProcessInJob(helper->process(), nullptr, &in_job) && in_job);
        const HANDLE watched = OpenProcess(SYNCHRONIZE, FALSE, helper->process_id());
        EXPECT_EQ(WaitForSingleObject(watched, 0), WAIT_TIMEOUT) << "it waits for a request";
        ended ? helper->End() : helper.reset();
        EXPECT_EQ(WaitForSingleObject(watched, 20000), WAIT_OBJECT_0);
        for (HANDLE handle : {watched, ours, handed[0], handed[1]}) {
            CloseHandle(handle);
        }
    }
}

}  // namespace
}  // namespace kivo::test
