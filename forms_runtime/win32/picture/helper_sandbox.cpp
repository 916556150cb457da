#include "forms_runtime/win32/picture/helper_sandbox.h"

#include <utility>
#include <vector>

namespace kivo::forms::win32 {

namespace {

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
    limits.ProcessMemoryLimit = HelperSandbox::kMemoryLimit;
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

// What the new process is given: only `handed`, and its job from birth where the system allows
// it. A helper that joined its job only after its start would be left behind, suspended for ever,
// if this process ended in between (a key pressed as the show begins).
class Attributes {
  public:
    Attributes(std::span<HANDLE> handed, HANDLE& job) {
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 2, 0, &size);
        bytes_.resize(size);
        list_ = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(bytes_.data());
        if (!InitializeProcThreadAttributeList(list_, 2, 0, &size)) {
            list_ = nullptr;
            return;
        }
        if (!UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handed.data(),
                                       handed.size_bytes(), nullptr, nullptr)) {
            DeleteProcThreadAttributeList(list_);
            list_ = nullptr;
            return;
        }
        born_in_job_ =
            job != nullptr && UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_JOB_LIST,
                                                        &job, sizeof(job), nullptr, nullptr);
    }
    ~Attributes() {
        if (list_ != nullptr) {
            DeleteProcThreadAttributeList(list_);
        }
    }
    Attributes(const Attributes&) = delete;
    Attributes& operator=(const Attributes&) = delete;

    LPPROC_THREAD_ATTRIBUTE_LIST list() const { return list_; }
    bool born_in_job() const { return born_in_job_; }

  private:
    std::vector<char> bytes_;
    LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
    bool born_in_job_ = false;
};

// Starts the process suspended, with the lesser token where the system grants one (and can start
// a process with it), else with this process's own rights.
bool StartSuspended(const std::wstring& program, std::wstring& command_line,
                    const Attributes& attributes, PROCESS_INFORMATION& started) {
    STARTUPINFOEXW startup = {};
    startup.StartupInfo.cb = sizeof(startup);
    startup.lpAttributeList = attributes.list();
    const DWORD flags = CREATE_SUSPENDED | BELOW_NORMAL_PRIORITY_CLASS |
                        (attributes.list() != nullptr ? EXTENDED_STARTUPINFO_PRESENT : 0);
    HANDLE token = RestrictedToken();
    const bool lesser =
        token != nullptr &&
        CreateProcessAsUserW(token, program.c_str(), command_line.data(), nullptr, nullptr, TRUE,
                             flags, nullptr, nullptr, &startup.StartupInfo, &started);
    if (token != nullptr) {
        CloseHandle(token);
    }
    return lesser || CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, TRUE,
                                    flags, nullptr, nullptr, &startup.StartupInfo, &started);
}

}  // namespace

HelperSandbox::HelperSandbox(const std::wstring& program, std::wstring command_line,
                             std::span<HANDLE> handed)
    : job_(MakeJob()) {
    const Attributes attributes(handed, job_);
    PROCESS_INFORMATION started = {};
    if (!StartSuspended(program, command_line, attributes, started)) {
        return;
    }
    if (job_ != nullptr && !attributes.born_in_job()) {
        AssignProcessToJobObject(job_, started.hProcess);
    }
    ResumeThread(started.hThread);
    CloseHandle(started.hThread);
    process_ = started.hProcess;
    process_id_ = started.dwProcessId;
}

HelperSandbox::~HelperSandbox() {
    if (job_ == nullptr) {
        End();
    }
    if (process_ != nullptr) {
        CloseHandle(process_);
    }
    if (job_ != nullptr) {
        CloseHandle(job_);  // the last handle to the job: the system ends what runs in it
    }
}

void HelperSandbox::End() {
    if (job_ != nullptr) {
        TerminateJobObject(job_, 1);
    } else if (process_ != nullptr) {
        TerminateProcess(process_, 1);
    }
}

}  // namespace kivo::forms::win32
