// What Kivo.scr tells about itself through its resources: the version information that the
// system's file properties show, and the icon that the dialog and the file carry.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "kivo_test_fixture.h"

namespace kivo::e2e {
namespace {

class VersionInformation {
  public:
    explicit VersionInformation(const std::wstring& file) {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
        if (size == 0) {
            ThrowLastError("GetFileVersionInfoSizeW");
        }
        data_.resize(size);
        if (!GetFileVersionInfoW(file.c_str(), 0, size, data_.data())) {
            ThrowLastError("GetFileVersionInfoW");
        }
    }

    const VS_FIXEDFILEINFO* Fixed() {
        return static_cast<const VS_FIXEDFILEINFO*>(Query(L"\\", sizeof(VS_FIXEDFILEINFO)));
    }

    // The languages and code pages of the string tables, as the translation list names them.
    std::vector<std::pair<WORD, WORD>> Translations() {
        std::vector<std::pair<WORD, WORD>> list;
        void* data = nullptr;
        UINT length = 0;
        if (VerQueryValueW(data_.data(), L"\\VarFileInfo\\Translation", &data, &length)) {
            const auto* words = static_cast<const WORD*>(data);
            for (UINT i = 0; i + 1 < length / sizeof(WORD); i += 2) {
                list.emplace_back(words[i], words[i + 1]);
            }
        }
        return list;
    }

    // A value of the string table `table` ("041104B0"); nullopt when it has none.
    std::optional<std::wstring> String(const std::wstring& table, const std::wstring& name) {
        void* data = nullptr;
        UINT length = 0;
        const std::wstring path = L"\\StringFileInfo\\" + table + L"\\" + name;
        if (!VerQueryValueW(data_.data(), path.c_str(), &data, &length) || data == nullptr) {
            return std::nullopt;
        }
        std::wstring text(static_cast<const wchar_t*>(data), length);
        text.resize(wcsnlen(text.c_str(), text.size()));
        return text;
    }

  private:
    const void* Query(const wchar_t* path, UINT least) {
        void* data = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(data_.data(), path, &data, &length) || length < least) {
            return nullptr;
        }
        return data;
    }

    std::vector<BYTE> data_;
};

TEST(SettingResourcesTest, VersionInformationNamesTheProgramInJapanese) {
    VersionInformation version(KivoScrPath());
    const VS_FIXEDFILEINFO* fixed = version.Fixed();
    ASSERT_NE(fixed, nullptr) << "no fixed version part";
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u) << "file version 1.0";
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000000u) << "file version .0.0";
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000000u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u) << "no debug or pre-release flag";

    const auto translations = version.Translations();
    ASSERT_EQ(translations.size(), 1u);
    EXPECT_EQ(translations[0].first, 0x0411) << "Japanese";
    EXPECT_EQ(translations[0].second, 0x04B0) << "Unicode";

    const std::wstring table = L"041104B0";
    const std::pair<const wchar_t*, const wchar_t*> expected[] = {
        {L"Comments", L"スライドショーのスクリーンセーバーです。"},
        {L"FileDescription", L"インストールしてお使いください。"},
        {L"FileVersion", L"1.00"},
        {L"InternalName", L"Kivo"},
        {L"LegalTrademarks", L"Ostra'sSlideShowScreenSaver"},
        {L"OriginalFilename", L"Kivo.scr"},
        {L"ProductName", L"Ostra'sSlideShowScreenSaver"},
        {L"ProductVersion", L"1.00"},
    };
    for (const auto& [name, value] : expected) {
        SCOPED_TRACE(Narrow(name));
        const auto actual = version.String(table, name);
        ASSERT_TRUE(actual.has_value()) << "missing";
        EXPECT_EQ(*actual, value) << Narrow(*actual);
    }
    for (const wchar_t* name : {L"CompanyName", L"LegalCopyright"}) {
        SCOPED_TRACE(Narrow(name));
        const auto actual = version.String(table, name);
        ASSERT_TRUE(actual.has_value()) << "missing";
        EXPECT_FALSE(actual->empty());
    }
}

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width;
    BYTE height;
    BYTE colours;
    BYTE reserved;
    WORD planes;
    WORD bitsPerPixel;
    DWORD bytes;
    WORD id;
};
struct IconGroupHeader {
    WORD reserved;
    WORD type;  // 1: icons
    WORD count;
};
#pragma pack(pop)

class DataFile {
  public:
    explicit DataFile(const std::wstring& path)
        : module_(LoadLibraryExW(path.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {
        if (module_ == nullptr) {
            ThrowLastError("LoadLibraryExW");
        }
    }
    ~DataFile() { FreeLibrary(module_); }
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;
    HMODULE module() const { return module_; }

  private:
    HMODULE module_;
};

TEST(SettingResourcesTest, TheIconGroupHolds32And16PixelIconsOf16Colours) {
    DataFile file(KivoScrPath());
    HRSRC found = FindResourceW(file.module(), MAKEINTRESOURCEW(1), RT_GROUP_ICON);
    ASSERT_NE(found, nullptr) << "no icon group 1";
    const DWORD size = SizeofResource(file.module(), found);
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(file.module(), found)));
    ASSERT_NE(data, nullptr);
    ASSERT_GE(size, sizeof(IconGroupHeader));
    const auto* header = reinterpret_cast<const IconGroupHeader*>(data);
    EXPECT_EQ(header->type, 1);
    ASSERT_EQ(header->count, 2);
    ASSERT_GE(size, sizeof(IconGroupHeader) + 2 * sizeof(IconGroupEntry));
    const auto* entries = reinterpret_cast<const IconGroupEntry*>(data + sizeof(IconGroupHeader));

    std::vector<int> sizes;
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const IconGroupEntry& entry = entries[i];
        EXPECT_EQ(entry.width, entry.height);
        EXPECT_EQ(entry.bitsPerPixel, 4) << "16 colours";
        sizes.push_back(entry.width);
        // Each image is there, under the identifier the group names.
        HRSRC image = FindResourceW(file.module(), MAKEINTRESOURCEW(entry.id), RT_ICON);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(SizeofResource(file.module(), image), entry.bytes);
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<int>{16, 32}));
}

}  // namespace
}  // namespace kivo::e2e
