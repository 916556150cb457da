#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>

#include "forms_runtime/basics/picture.h"
#include "forms_runtime/pixels/pixel_scale.h"
#include "forms_runtime/win32/picture/decoder_protocol.h"
#include "forms_runtime/win32/picture/helper_sandbox.h"

namespace kivo::forms::win32 {

// The time limit the program gives the helper for one picture. The slowest pictures within the
// 500-megapixel limit (bench/decoder/run with BIG=1: a 484-megapixel PNG and progressive JPEG,
// decoded at screen scale) took 21.5 s and 23.5 s in the helper under Wine on a heavily loaded
// two-core machine. The limit leaves about two and a half times that for slower machines; a file
// that really hangs holds its slide no longer than this, while the previous picture stays and
// input is answered all along.
inline constexpr DWORD kShippedTimeLimitMs = 60000;

// The saver's side of the decoder helper (see DecoderHelper): starts the helper on the first
// load, hands it one load at a time and takes the pixels back. A helper that crashes, breaks the
// protocol or runs past the time limit is ended, and that load fails as no picture; the next
// load starts a new helper. The helper runs in a HelperSandbox. Use it from one thread at a time
// (a load's thread, or the window's thread between loads); KillHelper from any thread.
class DecoderClient {
  public:
    // `program`: the executable to start with the private argument (Kivo.scr itself).
    // `time_limit_ms`: how long one load may take in the helper.
    DecoderClient(std::wstring program, DWORD time_limit_ms);
    ~DecoderClient();
    DecoderClient(const DecoderClient&) = delete;
    DecoderClient& operator=(const DecoderClient&) = delete;

    // Loads the picture file as LoadPictureFile does, in the helper. The hint is called on this
    // thread while the helper waits. Throws RuntimeError: FileNotFound, or InvalidPicture for
    // anything else that fails, the helper's own failures included. When the event `give_up`
    // is set meanwhile, the helper is ended and the load fails at once.
    Picture Load(const std::string& path, const DecodeHint& hint, const PixelScale& scale,
                 HANDLE give_up = nullptr);
    // Ends the helper, if one runs, so that its memory goes back to the system, without waiting
    // for it to go (the window's thread may call it); the next load starts a new one. Never
    // while a load is under way.
    void EndHelper() { Stop(false); }
    // Ends the helper's process without waiting, also while a load is under way on another
    // thread (whose load then fails): for the program's end, which may not wait for that load.
    void KillHelper();

    // How long one load may take in the helper, in milliseconds.
    DWORD time_limit_ms() const { return time_limit_ms_; }
    // The running helper's process id, or 0.
    DWORD helper_process_id() const;

  private:
    bool Start();
    // A new pipe, named afresh, for a new helper; false when none could be had.
    bool OpenPipe(std::wstring& name);
    // Starts the helper on the pipe `name`, handing it its end of the pipe and this process.
    std::unique_ptr<HelperSandbox> StartHelper(const std::wstring& name);
    // Ends the helper and closes the pipe; with `wait`, waits a second at most for it to go.
    void Stop(bool wait);
    // Moves `size` bytes through the pipe by the deadline (a tick count); false when the helper
    // ends, breaks the pipe or runs out of time, or `give_up` is set.
    bool Transfer(bool write, void* data, DWORD size, ULONGLONG deadline, HANDLE give_up);
    // The pixels of a Done answer, checked by AnswerError; throws the error the load fails with.
    Picture TakePixels(const HelperMessage& done, const PixelScale& scale, const std::string& path);

    std::wstring program_;
    DWORD time_limit_ms_;
    mutable std::mutex helper_lock_;  // the helper's replacing, against KillHelper
    std::unique_ptr<HelperSandbox> helper_;
    HANDLE process_ = nullptr;  // helper_'s, for the thread of the load
    HANDLE pipe_ = nullptr;
    HANDLE io_done_ = nullptr;
};

}  // namespace kivo::forms::win32
