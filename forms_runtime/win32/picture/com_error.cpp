#include "forms_runtime/win32/picture/com_error.h"

namespace kivo::forms::win32 {

namespace {

bool IsUnreadableFile(HRESULT result) {
    for (DWORD code :
         {ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION,
          ERROR_INVALID_NAME, ERROR_BAD_NETPATH, ERROR_NOT_READY, ERROR_INVALID_DRIVE}) {
        if (result == HRESULT_FROM_WIN32(code)) {
            return true;
        }
    }
    return false;
}

}  // namespace

void ThrowIfFailed(HRESULT result, ErrorKind kind, const std::string& subject) {
    if (SUCCEEDED(result)) {
        return;
    }
    throw RuntimeError(IsUnreadableFile(result) ? ErrorKind::FileNotFound : kind, subject);
}

}  // namespace kivo::forms::win32
