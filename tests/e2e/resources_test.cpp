// What Kivo.scr tells about itself through its resources, read from the file: the version
// information that the system's file properties show, and the icons of its icon group.
#include <algorithm>
#include <memory>
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

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitsPerPixel;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST(ResourcesTest, TheIconGroupHolds32And16PixelIconsOf16Colours) {
    const std::unique_ptr<HINSTANCE__, decltype(&FreeLibrary)> file(
        LoadLibraryExW(KivoScrPath().c_str(), nullptr,
                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE),
        &FreeLibrary);
    ASSERT_NE(file, nullptr);
    HRSRC group = FindResourceW(file.get(), MAKEINTRESOURCEW(1), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr) << "no icon group 1";
    const auto* header = static_cast<const WORD*>(LockResource(LoadResource(file.get(), group)));
    ASSERT_EQ(SizeofResource(file.get(), group), 6 + 2 * sizeof(IconGroupEntry));
    ASSERT_EQ(header[1], 1) << "icons";
    ASSERT_EQ(header[2], 2) << "two of them";
    std::vector<int> sizes;
    const auto* entries = reinterpret_cast<const IconGroupEntry*>(header + 3);
    for (const IconGroupEntry& entry : {entries[0], entries[1]}) {
        EXPECT_EQ(entry.width, entry.height);
        EXPECT_EQ(entry.bitsPerPixel, 4) << "16 colours";
        // The image is there, under the identifier that the group names.
        HRSRC image = FindResourceW(file.get(), MAKEINTRESOURCEW(entry.id), RT_ICON);
        EXPECT_TRUE(image != nullptr && SizeofResource(file.get(), image) == entry.bytes);
        sizes.push_back(entry.width);
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<int>{16, 32}));
}

}  // namespace
}  // namespace kivo::e2e
