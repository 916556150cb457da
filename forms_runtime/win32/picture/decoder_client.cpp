#include "forms_runtime/win32/picture/decoder_client.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "forms_runtime/basics/errors.h"
#include "forms_runtime/pixels/helper_answer.h"
#include "forms_runtime/win32/picture/bitmap_picture.h"
#include "forms_runtime/win32/wide.h"

namespace kivo::forms::win32 {

namespace {

// Beyond this the helper's allocations fail, where the system enforces a job's memory limit:
// room for a codec's whole frame of the largest picture allowed, and its own working memory.
constexpr SIZE_T kMemoryLimit = SIZE_T{3} << 30;

void CloseIfOpen(HANDLE& handle) {
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
    }
    handle = nullptr;
}

// A job that ends the helper with the last handle to it (this process's, also when it is
// killed), lets it start no process of its own, ends it on a crash without a report box, and caps
// its memory. Systems that refuse some of the limits get the others.
HANDLE MakeJob() {
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (job == nullptr) {
        return nullptr;
    }
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags =
        JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION |
        JOB_OBJECT_LIMIT_ACTIVE_PROCESS | JOB_OBJECT_LIMIT_PROCESS_MEMORY;
    limits.BasicLimitInformation.ActiveProcessLimit = 1;
    limits.ProcessMemoryLimit = kMemoryLimit;
    if (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof(limits))) {
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    }
    return job;
}

// This process's token without its privileges and at low integrity: the helper needs only to
// read the files it is given. Null where the system does not grant it.
HANDLE RestrictedToken() {
    HANDLE own = nullptr;
    if (!OpenProcessToken(
            GetCurrentProcess(),
            TOKEN_DUPLICATE | TOKEN_QUERY | TOKEN_ASSIGN_PRIMARY | TOKEN_ADJUST_DEFAULT, &own)) {
        return nullptr;
    }
    HANDLE restricted = nullptr;
    const BOOL made = CreateRestrictedToken(own, DISABLE_MAX_PRIVILEGE, 0, nullptr, 0, nullptr, 0,
                                            nullptr, &restricted);
    CloseHandle(own);
    if (!made) {
        return nullptr;
    }
    SID_IDENTIFIER_AUTHORITY mandatory = SECURITY_MANDATORY_LABEL_AUTHORITY;
    PSID low = nullptr;
    if (!AllocateAndInitializeSid(&mandatory, 1, SECURITY_MANDATORY_LOW_RID, 0, 0, 0, 0, 0, 0, 0,
                                  &low)) {
        CloseHandle(restricted);
        return nullptr;
    }
    TOKEN_MANDATORY_LABEL label = {};
    label.Label.Attributes = SE_GROUP_INTEGRITY;
    label.Label.Sid = low;
    const BOOL lowered = SetTokenInformation(restricted, TokenIntegrityLevel, &label,
                                             sizeof(label) + GetLengthSid(low));
    FreeSid(low);
    if (!lowered) {
        CloseHandle(restricted);
        return nullptr;
    }
    return restricted;
}

}  // namespace

DecoderClient::DecoderClient(std::wstring program, DWORD time_limit_ms)
    : program_(std::move(program)), time_limit_ms_(time_limit_ms) {}

DecoderClient::~DecoderClient() {
    Stop();
}

bool DecoderClient::Start() {
    static unsigned serial = 0;
    const std::wstring name = L"\\\\.\\pipe\\kivo-decoder-" +
                              std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++serial) + L"-" + std::to_wstring(GetTickCount64());
    pipe_ = CreateNamedPipeW(
        name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 64 * 1024,
        64 * 1024, 0, nullptr);
    io_done_ = io_done_ != nullptr ? io_done_ : CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (pipe_ == INVALID_HANDLE_VALUE || io_done_ == nullptr) {
        pipe_ = nullptr;
        return false;
    }
    SECURITY_ATTRIBUTES inherited = {sizeof(inherited), nullptr, TRUE};
    HANDLE helper_end = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, &inherited,
                                    OPEN_EXISTING, 0, nullptr);
    HANDLE parent = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &parent,
                    SYNCHRONIZE, TRUE, 0);
    if (helper_end == INVALID_HANDLE_VALUE || parent == nullptr) {
        CloseIfOpen(helper_end);
        CloseIfOpen(parent);
        Stop();
        return false;
    }

    // Only the pipe and the parent's handle are handed down. The helper is born in its job where
    // the system allows it: a helper that joined it only after its start would be left behind,
    // suspended for ever, if this process ended in between (a key pressed as the show begins).
    job_ = MakeJob();
    HANDLE handed[2] = {helper_end, parent};
    SIZE_T list_size = 0;
    InitializeProcThreadAttributeList(nullptr, 2, 0, &list_size);
    std::vector<char> list_bytes(list_size);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(list_bytes.data());
    const bool listed = InitializeProcThreadAttributeList(list, 2, 0, &list_size) &&
                        UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                                  handed, sizeof(handed), nullptr, nullptr);
    const bool born_in_job = listed && job_ != nullptr &&
                             UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_JOB_LIST,
                                                       &job_, sizeof(job_), nullptr, nullptr);
    STARTUPINFOEXW startup = {};
    startup.StartupInfo.cb = sizeof(startup);
    startup.lpAttributeList = listed ? list : nullptr;
    std::wstring command = L"\"" + program_ + L"\" " + kDecoderArgument + L" " +
                           std::to_wstring(reinterpret_cast<std::uintptr_t>(helper_end)) + L" " +
                           std::to_wstring(reinterpret_cast<std::uintptr_t>(parent));
    const DWORD flags = CREATE_SUSPENDED | BELOW_NORMAL_PRIORITY_CLASS |
                        (listed ? EXTENDED_STARTUPINFO_PRESENT : 0);
    PROCESS_INFORMATION started = {};
    HANDLE token = RestrictedToken();
    restricted_ = token != nullptr && CreateProcessAsUserW(token, program_.c_str(), command.data(),
                                                           nullptr, nullptr, TRUE, flags, nullptr,
                                                           nullptr, &startup.StartupInfo, &started);
    if (!restricted_) {
        // The system grants no lesser token (or cannot start a process with it): the helper
        // runs with the saver's rights, still in its job.
        if (!CreateProcessW(program_.c_str(), command.data(), nullptr, nullptr, TRUE, flags,
                            nullptr, nullptr, &startup.StartupInfo, &started)) {
            started.hProcess = nullptr;
        }
    }
    CloseIfOpen(token);
    if (listed) {
        DeleteProcThreadAttributeList(list);
    }
    CloseIfOpen(helper_end);
    CloseIfOpen(parent);
    if (started.hProcess == nullptr) {
        Stop();
        return false;
    }
    if (job_ != nullptr && !born_in_job) {
        AssignProcessToJobObject(job_, started.hProcess);
    }
    ResumeThread(started.hThread);
    CloseHandle(started.hThread);
    process_ = started.hProcess;
    process_id_ = started.dwProcessId;
    return true;
}

void DecoderClient::KillHelper() {
    if (job_ != nullptr) {
        TerminateJobObject(job_, 1);
    } else if (process_ != nullptr) {
        TerminateProcess(process_, 1);
    }
}

void DecoderClient::Stop() {
    if (process_ != nullptr) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 1000);
    }
    CloseIfOpen(process_);
    CloseIfOpen(job_);
    CloseIfOpen(pipe_);
    process_id_ = 0;
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
        Stop();  // crashed, hung, confused or given up: the next load starts afresh
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
