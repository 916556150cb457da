#include "forms_runtime/win32/window/win32_file_system.h"

#include <windows.h>

#include <algorithm>

#include "forms_runtime/basics/errors.h"
#include "forms_runtime/basics/paths.h"
#include "forms_runtime/win32/wide.h"

namespace kivo::forms::win32 {

namespace {

// Keeps the system from asking the user to insert a medium while it lives.
class QuietDriveErrors {
  public:
    QuietDriveErrors() { SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous_); }
    ~QuietDriveErrors() { SetThreadErrorMode(previous_, nullptr); }
    QuietDriveErrors(const QuietDriveErrors&) = delete;
    QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

  private:
    DWORD previous_ = 0;
};

// A path the wide API takes at any length: long absolute paths get the extended prefix.
std::wstring SystemPath(const std::string& path) {
    std::wstring wide = Widen(path);
    if (wide.size() < MAX_PATH - 12 || wide.rfind(L"\\\\?\\", 0) == 0) {
        return wide;
    }
    for (wchar_t& c : wide) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    if (wide.rfind(L"\\\\", 0) == 0) {
        return L"\\\\?\\UNC\\" + wide.substr(2);
    }
    if (wide.size() >= 3 && wide[1] == L':' && wide[2] == L'\\') {
        return L"\\\\?\\" + wide;
    }
    return wide;
}

bool IsFolder(const std::string& folder) {
    QuietDriveErrors quiet;
    const DWORD attributes = GetFileAttributesW(SystemPath(folder).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::vector<std::wstring> SystemDriveRoots() {
    std::wstring text(256, L'\0');
    DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(text.size()), text.data());
    if (length > text.size()) {
        text.assign(length, L'\0');
        length = GetLogicalDriveStringsW(static_cast<DWORD>(text.size()), text.data());
    }
    text.resize(length <= text.size() ? length : 0);
    std::vector<std::wstring> roots;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find(L'\0', at), text.size());
        if (end > at) {
            roots.push_back(text.substr(at, end - at));
        }
        at = end + 1;
    }
    if (roots.empty()) {
        // A system without a mount manager to ask (as under some compatibility layers): every
        // letter whose root the system knows.
        for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
            const std::wstring root{letter, L':', L'\\'};
            if (GetDriveTypeW(root.c_str()) != DRIVE_NO_ROOT_DIR) {
                roots.push_back(root);
            }
        }
    }
    return roots;
}

}  // namespace

void Win32FileSystem::ListFolder(const std::string& folder,
                                 const std::function<void(const FolderEntry&)>& each) {
    const std::string normal = NormalizeFolder(folder);
    if (normal.empty() || !IsFolder(normal)) {
        throw RuntimeError(ErrorKind::PathNotFound, folder);
    }
    QuietDriveErrors quiet;
    WIN32_FIND_DATAW found = {};
    HANDLE search =
        FindFirstFileExW(SystemPath(JoinPath(normal, "*")).c_str(), FindExInfoBasic, &found,
                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_FILE_NOT_FOUND) {
            return;  // an empty drive root
        }
        throw RuntimeError(ErrorKind::PathNotFound, folder);
    }
    const struct Search {
        HANDLE handle;
        ~Search() { FindClose(handle); }
    } open_search{search};
    std::string name;
    do {
        const std::wstring_view wide = found.cFileName;
        if (wide == L"." || wide == L"..") {
            continue;
        }
        name = Narrow(wide);
        const DWORD attributes = found.dwFileAttributes;
        each({name, (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
              (attributes & FILE_ATTRIBUTE_HIDDEN) != 0,
              (attributes & FILE_ATTRIBUTE_SYSTEM) != 0});
    } while (FindNextFileW(search, &found));
    if (GetLastError() != ERROR_NO_MORE_FILES) {
        // The share went away or the folder was removed half-way: the listing is not the folder's.
        throw RuntimeError(ErrorKind::PathNotFound, folder);
    }
}

bool Win32FileSystem::FolderExists(const std::string& folder) {
    return IsFolder(folder);
}

std::vector<std::string> Win32FileSystem::DriveRoots() {
    std::vector<std::string> roots;
    for (const std::wstring& root : SystemDriveRoots()) {
        roots.push_back(DriveRoot(Narrow(root)));
    }
    return roots;
}

std::string Win32FileSystem::DriveLabel(const std::string& root) {
    QuietDriveErrors quiet;
    wchar_t label[MAX_PATH + 1] = {};
    if (!GetVolumeInformationW(Widen(DriveRoot(root)).c_str(), label, MAX_PATH + 1, nullptr,
                               nullptr, nullptr, nullptr, 0)) {
        return {};
    }
    return Narrow(label);
}

bool Win32FileSystem::DriveReady(const std::string& root) {
    // A readable root is a ready drive. Whether the system can describe the volume says nothing:
    // it describes a drive whose mount is gone (a substituted or linked folder removed), and some
    // systems cannot describe a volume they can read.
    const std::string drive_root = DriveRoot(root);
    return !drive_root.empty() && IsFolder(drive_root);
}

}  // namespace kivo::forms::win32
