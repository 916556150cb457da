#include "forms_runtime/win32/picture/decoder_client.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "forms_runtime/basics/errors.h"
#include "forms_runtime/pixels/helper_answer.h"
#include "forms_runtime/win32/picture/bitmap_picture.h"
#include "forms_runtime/win32/wide.h"

namespace kivo::forms::win32 {

namespace {

void CloseIfOpen(HANDLE& handle) {
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
    }
    handle = nullptr;
}

}  // namespace

DecoderClient::DecoderClient(std::wstring program, DWORD time_limit_ms)
    : program_(std::move(program)), time_limit_ms_(time_limit_ms) {}

DecoderClient::~DecoderClient() {
    Stop(false);
    CloseIfOpen(io_done_);
}

DWORD DecoderClient::helper_process_id() const {
    const std::lock_guard<std::mutex> guard(helper_lock_);
    return helper_ != nullptr ? helper_->process_id() : 0;
}

bool DecoderClient::OpenPipe(std::wstring& name) {
    static unsigned serial = 0;
    name = L"\\\\.\\pipe\\kivo-decoder-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++serial) + L"-" + std::to_wstring(GetTickCount64());
    pipe_ = CreateNamedPipeW(
        name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 64 * 1024,
        64 * 1024, 0, nullptr);
    io_done_ = io_done_ != nullptr ? io_done_ : CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (pipe_ == INVALID_HANDLE_VALUE || io_done_ == nullptr) {
        CloseIfOpen(pipe_);
        return false;
    }
    return true;
}

std::unique_ptr<HelperSandbox> DecoderClient::StartHelper(const std::wstring& name) {
    SECURITY_ATTRIBUTES inherited = {sizeof(inherited), nullptr, TRUE};
    HANDLE handed[2] = {CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, &inherited,
                                    OPEN_EXISTING, 0, nullptr),
                        nullptr};
    DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &handed[1],
                    SYNCHRONIZE, TRUE, 0);
    std::unique_ptr<HelperSandbox> helper;
    if (handed[0] != INVALID_HANDLE_VALUE && handed[1] != nullptr) {
        std::wstring command = L"\"" + program_ + L"\" " + kDecoderArgument;
        for (HANDLE handle : handed) {
            command += L" " + std::to_wstring(reinterpret_cast<std::uintptr_t>(handle));
        }
        helper = std::make_unique<HelperSandbox>(program_, std::move(command), handed);
    }
    for (HANDLE& handle : handed) {
        CloseIfOpen(handle);  // the helper's copies are its own
    }
    return helper != nullptr && helper->started() ? std::move(helper) : nullptr;
}

bool DecoderClient::Start() {
    std::wstring name;
    if (!OpenPipe(name)) {
        return false;
    }
    std::unique_ptr<HelperSandbox> helper = StartHelper(name);
    if (helper == nullptr) {
        CloseIfOpen(pipe_);
        return false;
    }
    process_ = helper->process();
    const std::lock_guard<std::mutex> guard(helper_lock_);
    helper_ = std::move(helper);
    return true;
}

void DecoderClient::KillHelper() {
    const std::lock_guard<std::mutex> guard(helper_lock_);
    if (helper_ != nullptr) {
        helper_->End();
    }
}

void DecoderClient::Stop(bool wait) {
    std::unique_ptr<HelperSandbox> helper;
    {
        const std::lock_guard<std::mutex> guard(helper_lock_);
        helper = std::move(helper_);
    }
    process_ = nullptr;
    if (helper != nullptr) {
        helper->End();
        if (wait) {
            WaitForSingleObject(helper->process(), 1000);
        }
    }
    CloseIfOpen(pipe_);
}

bool DecoderClient::Transfer(bool write, void* data, DWORD size, ULONGLONG deadline,
                             HANDLE give_up) {
    auto* bytes = static_cast<char*>(data);
    while (size > 0) {
        OVERLAPPED io = {};
        io.hEvent = io_done_;
        ResetEvent(io_done_);
        const BOOL finished = write ? WriteFile(pipe_, bytes, size, nullptr, &io)
                                    : ReadFile(pipe_, bytes, size, nullptr, &io);
        if (!finished && GetLastError() != ERROR_IO_PENDING) {
            return false;
        }
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        HANDLE waits[3] = {io_done_, process_, give_up};
        DWORD moved = 0;
        if (WaitForMultipleObjects(give_up != nullptr ? 3 : 2, waits, FALSE, left) !=
            WAIT_OBJECT_0) {
            CancelIo(pipe_);
            GetOverlappedResult(pipe_, &io, &moved, TRUE);
            return false;
        }
        if (!GetOverlappedResult(pipe_, &io, &moved, FALSE) || moved == 0) {
            return false;
        }
        bytes += moved;
        size -= moved;
    }
    return true;
}

Picture DecoderClient::Load(const std::string& path, const DecodeHint& hint,
                            const PixelScale& scale, HANDLE give_up) {
    if (process_ == nullptr && !Start()) {
        throw RuntimeError(ErrorKind::InvalidPicture, path);
    }
    const ULONGLONG deadline = GetTickCount64() + time_limit_ms_;
    std::wstring wide = Widen(path);
    ClientMessage request = {};
    request.type = DecoderMessage::Load;
    request.path_bytes = static_cast<std::uint32_t>(wide.size() * sizeof(wchar_t));
    request.twips_per_pixel_x = scale.twips_per_pixel_x;
    request.twips_per_pixel_y = scale.twips_per_pixel_y;
    if (request.path_bytes > kLongestPathBytes) {
        throw RuntimeError(ErrorKind::FileNotFound, path);
    }
    bool fine = Transfer(true, &request, sizeof(request), deadline, give_up) &&
                Transfer(true, wide.data(), request.path_bytes, deadline, give_up);
    HelperMessage message = {};
    while (fine) {
        fine = Transfer(false, &message, sizeof(message), deadline, give_up);
        if (!fine || message.type == DecoderMessage::Done) {
            break;
        }
        if (message.type != DecoderMessage::Ask) {
            fine = false;
            break;
        }
        ClientMessage answer = {};
        answer.type = DecoderMessage::Answer;
        answer.scale = 1;
        if (hint.shown_scale && message.width > 0 && message.height > 0) {
            answer.scale = hint.shown_scale(message.width, message.height);
        }
        fine = Transfer(true, &answer, sizeof(answer), deadline, give_up);
    }
    if (!fine) {
        Stop(true);  // crashed, hung, confused or given up: the next load starts afresh
        throw RuntimeError(ErrorKind::InvalidPicture, path);
    }
    return TakePixels(message, scale, path);
}

Picture DecoderClient::TakePixels(const HelperMessage& done, const PixelScale& scale,
                                  const std::string& path) {
    HANDLE section = nullptr;
    if (!DuplicateHandle(
            process_, reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(done.section)),
            GetCurrentProcess(), &section, FILE_MAP_READ, FALSE, DUPLICATE_CLOSE_SOURCE)) {
        section = nullptr;
    }
    // The whole section, whatever the answer claims: its size is learnt from the view itself.
    const void* view =
        section != nullptr ? MapViewOfFile(section, FILE_MAP_READ, 0, 0, 0) : nullptr;
    MEMORY_BASIC_INFORMATION region = {};
    const std::uint64_t section_bytes =
        view != nullptr && VirtualQuery(view, &region, sizeof(region)) != 0 ? region.RegionSize : 0;
    const HelperAnswer answer{done.kind,        done.width,        done.height,
                              done.width_twips, done.height_twips, done.opaque};
    const std::optional<ErrorKind> error = AnswerError(answer, section_bytes, scale);
    Dib pixels(error ? 0 : answer.width, answer.height);
    if (pixels) {
        std::memcpy(pixels.pixels(), view, static_cast<std::size_t>(PixelBytes(answer)));
    }
    if (view != nullptr) {
        UnmapViewOfFile(view);
    }
    CloseIfOpen(section);
    if (!pixels) {
        throw RuntimeError(error.value_or(ErrorKind::InvalidPicture), path);
    }
    auto picture =
        std::make_shared<BitmapPicture>(std::move(pixels), answer.width_twips, answer.height_twips);
    picture->PixelsWritten(answer.opaque != 0);
    return picture;
}

}  // namespace kivo::forms::win32
