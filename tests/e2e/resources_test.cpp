// What Kivo.scr tells about itself through its resources, read from the file: the version
// information that the system's file properties show.
#include <vector>

#include "kivo_test.h"

namespace kivo::e2e {
namespace {

TEST(ResourcesTest, TheVersionInformationIsJapaneseInUnicode) {
    const std::wstring file = KivoScrPath().wstring();
    DWORD ignored = 0;
    std::vector<BYTE> data(GetFileVersionInfoSizeW(file.c_str(), &ignored));
    ASSERT_TRUE(GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u) << "one translation";
    EXPECT_EQ(static_cast<const WORD*>(value)[0], 0x0411) << "Japanese";
    EXPECT_EQ(static_cast<const WORD*>(value)[1], 0x04B0) << "Unicode";
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\041104B0\\FileDescription", &value,
                               &length));
    EXPECT_STREQ(static_cast<const wchar_t*>(value), L"インストールしてお使いください。");
}

}  // namespace
}  // namespace kivo::e2e
