#include "kivo_test.h"

namespace kivo::e2e {
namespace {

using SaverLifeTest = KivoTest;

// A password service planted where the system keeps its own, answering as the test says.
class PlantedPasswordService {
  public:
    explicit PlantedPasswordService(DWORD answer) {
        wchar_t system[MAX_PATH];
        GetSystemDirectoryW(system, MAX_PATH);
        std::filesystem::copy_file(std::filesystem::path(KIVO_E2E_PASSWORD_CPL).make_preferred(),
                                   path_ = std::filesystem::path(system) / L"password.cpl",
                                   std::filesystem::copy_options::overwrite_existing);
        Answer(answer);
        WriteValue(kDesktopKey, kUsePassword, L"1");
    }
    ~PlantedPasswordService() {
        std::filesystem::remove(path_);
        DeleteKey(kKey);
        WriteValue(kDesktopKey, kUsePassword, DWORD{0});
    }
    void Answer(DWORD answer) const { WriteValue(kKey, L"Answer", answer); }
    // What the service noted; "" before its first call.
    std::wstring Read(const wchar_t* name) const { return ReadValue(kKey, name); }

  private:
    static constexpr wchar_t kKey[] = L"Software\\KivoE2ePassword";
    static constexpr wchar_t kDesktopKey[] = L"Control Panel\\desktop";
    static constexpr wchar_t kUsePassword[] = L"ScreenSaveUsePassword";
    std::filesystem::path path_;
};

TEST_F(SaverLifeTest, ARefusedPasswordKeepsTheSaverAndAnAcceptedOneEndsIt) {
    PlantedPasswordService service(0x10000);  // the low 16 bits are 0: refused
    ScopedProcess saver = StartSaver(L"600");
    ASSERT_TRUE(WaitUntil(ScreenSaverFlag, 5s)) << "the saver did not set the flag";
    PressKey(VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return service.Read(L"Calls") == L"1"; }, 10s)) << "no check";
    EXPECT_EQ(service.Read(L"PointerShown"), L"1") << "the pointer is shown for the check";
    EXPECT_TRUE(WaitUntil([] { return !PointerShowing(); }, 5s)) << "the pointer stays shown";

    service.Answer(1);
    SetForegroundWindow(saverWindow_);
    PressKey(VK_SPACE);
    EXPECT_TRUE(saver.WaitForExit(10s));
    EXPECT_EQ(service.Read(L"Calls"), L"2") << "the refused password ended the saver";
    EXPECT_FALSE(ScreenSaverFlag());
}

}  // namespace
}  // namespace kivo::e2e
