#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "forms_runtime/pixels/pixel_scale.h"
#include "forms_runtime/win32/picture/decoder_protocol.h"
#include "forms_runtime/win32/picture/wic_loader.h"

namespace kivo::forms::win32 {

// The decoder helper: Kivo.scr started by a DecoderClient with the private argument. It decodes
// one picture file after another as its client asks, on its one thread, and hands the pixels
// back through shared memory. Untrusted bytes are only ever decoded here, so that a codec that
// crashes or hangs takes down this process, never the saver. It ends when its pipe closes or its
// parent ends; a crash ends it at once and quietly, with no report box.
class DecoderHelper {
  public:
    // Whether the process was started as a helper: the arguments begin with the private one.
    static bool IsHelperCommand(std::wstring_view command_line);
    // The helper's whole life; returns its exit code. Started by hand, without the handles its
    // parent hands it, it returns at once.
    static int Run(std::wstring_view command_line);

  private:
    explicit DecoderHelper(HANDLE pipe) : pipe_(pipe) {}
    void Serve();
    // One load: Ask and Answer while it decodes, then Done. False when the pipe is gone.
    bool Load(const std::wstring& path, const PixelScale& scale);
    bool Send(const HelperMessage& message);
    bool Receive(void* into, DWORD size);
    double AskScale(int width, int height);

    HANDLE pipe_;
    WicLoader wic_;
};

}  // namespace kivo::forms::win32
