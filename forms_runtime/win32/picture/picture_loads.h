#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "forms_runtime/basics/later_slot.h"
#include "forms_runtime/basics/picture.h"
#include "forms_runtime/pixels/pixel_scale.h"
#include "forms_runtime/win32/background_threads.h"
#include "forms_runtime/win32/picture/decoder_client.h"

namespace kivo::forms::win32 {

// The program's picture loads: each on a background thread, one at a time, decoded in the
// decoder helper (or, for tests and benchmarks that ask, in this process), each arriving later
// on the window's thread. A newer load makes the decoder give up an older one
// still under way after a grace of a quarter second, which costs a new helper process. Window's
// thread only.
class PictureLoads {
  public:
    // `helper`: the decoder helper's client; null to decode in this process.
    PictureLoads(BackgroundThreads& threads, std::unique_ptr<DecoderClient> helper);
    // A load still under way is given up; its thread runs on to its end alone.
    ~PictureLoads();
    PictureLoads(const PictureLoads&) = delete;
    PictureLoads& operator=(const PictureLoads&) = delete;

    // Loads the file later, then calls `arrive` from the message loop with the picture or the
    // error. It replaces a later load asked for before that has not started yet.
    void LoadLater(const std::string& path, const DecodeHint& hint, const PixelScale& scale,
                   std::function<void(Picture, std::exception_ptr)> arrive);
    // While `resting`, no decoder helper is kept waiting: one that runs is ended at once, or once
    // the load under way is done, and the next load starts a new one.
    void Rest(bool resting);
    // The program ends: the helper is ended at once, whatever it does, since this process may
    // take a while to go (a thread waiting on a share) and its job's end with it.
    void EndHelperNow();

  private:
    // What the loads' threads share, which outlives this object while one of them runs.
    struct Decoder {
        std::unique_ptr<DecoderClient> helper;
        HANDLE give_up = nullptr;  // manual reset: the load under way is no longer wanted
        ~Decoder();
    };
    struct Outcome {
        Picture picture;
        std::exception_ptr error;
    };
    struct Request {
        std::string path;
        DecodeHint hint;
        PixelScale scale;
        std::function<void(Picture, std::exception_ptr)> arrive;
    };

    // The work of one load, on its thread.
    std::function<void()> Decode(const Request& request, std::shared_ptr<Outcome> outcome);
    void StartNext();
    void Finished(const std::shared_ptr<Outcome>& outcome,
                  const std::function<void(Picture, std::exception_ptr)>& arrive);
    // Ends the helper while resting and no load is under way.
    void RestIfIdle();

    BackgroundThreads& threads_;
    std::shared_ptr<Decoder> decoder_;
    bool busy_ = false;  // a load is under way
    bool resting_ = false;
    std::optional<Request> next_;
    LaterSlot decoding_;  // the load under way: its arrival and its grace
};

}  // namespace kivo::forms::win32
