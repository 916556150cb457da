#include "tests/win32/temp_folder.h"

#include <stdexcept>

#include "forms_runtime/win32/wide.h"

namespace kivo::test {

namespace {

using forms::win32::Narrow;
using forms::win32::Widen;

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            const std::wstring path = folder + L"\\" + name;
            if (name == L"." || name == L"..") {
                continue;
            }
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                RemoveTree(path);
            } else {
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

TempFolder::TempFolder() {
    static int counter = 0;
    wchar_t base[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, base);
    const std::wstring folder = std::wstring(base) + L"kivo_win32_test_" +
                                std::to_wstring(GetCurrentProcessId()) + L"_" +
                                std::to_wstring(++counter);
    RemoveTree(folder);
    CreateDirectoryW(folder.c_str(), nullptr);
    path_ = Narrow(folder);
}

TempFolder::~TempFolder() {
    RemoveTree(Widen(path_));
}

void TempFolder::Write(const std::string& name, const std::string& bytes) const {
    HANDLE file = CreateFileW(Widen(Join(name)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok =
        file != INVALID_HANDLE_VALUE &&
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
    if (!ok) {
        throw std::runtime_error("cannot write " + name);
    }
}

void TempFolder::MakeFolder(const std::string& name) const {
    CreateDirectoryW(Widen(Join(name)).c_str(), nullptr);
}

void TempFolder::SetAttributes(const std::string& name, DWORD attributes) const {
    SetFileAttributesW(Widen(Join(name)).c_str(), attributes);
}

}  // namespace kivo::test
