#include "support/temp_folder.h"

#include <windows.h>

#include <atomic>
#include <iostream>

#include "support/errors.h"
#include "support/text.h"

namespace kivo::e2e {

namespace {

std::wstring NewFolderName() {
    static std::atomic<unsigned> counter{0};
    return L"kivo-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(counter++);
}

}  // namespace

TempFolder::TempFolder() {
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) {
        ThrowLastError("GetTempPathW");
    }
    path_ = std::wstring(temp, length) + NewFolderName();
    if (!CreateDirectoryW(path_.c_str(), nullptr)) {
        ThrowLastError("CreateDirectoryW " + Narrow(path_));
    }
}

TempFolder::~TempFolder() {
    if (!RemoveFolderTree(path_)) {
        std::cerr << "kivo e2e: could not remove " << Narrow(path_) << "\n";
    }
}

std::wstring TempFolder::operator/(const std::wstring& name) const {
    return path_ + L"\\" + name;
}

std::wstring TempFolder::MakeFolder(const std::wstring& name) const {
    std::wstring folder = path_;
    size_t start = 0;
    while (start <= name.size()) {
        const size_t end = name.find(L'\\', start);
        folder += L"\\" + name.substr(start, end - start);
        if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            ThrowLastError("CreateDirectoryW " + Narrow(folder));
        }
        if (end == std::wstring::npos) {
            break;
        }
        start = end + 1;
    }
    return folder;
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void CopyFileOrThrow(const std::wstring& from, const std::wstring& to) {
    if (!CopyFileW(from.c_str(), to.c_str(), FALSE)) {
        ThrowLastError("CopyFileW " + Narrow(from) + " -> " + Narrow(to));
    }
}

bool RemoveFolderTree(const std::wstring& path) {
    bool removed = true;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring child = path + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removed = RemoveFolderTree(child) && removed;
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                removed = DeleteFileW(child.c_str()) && removed;
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return RemoveDirectoryW(path.c_str()) && removed;
}

}  // namespace kivo::e2e
