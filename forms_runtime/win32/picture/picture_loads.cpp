#include "forms_runtime/win32/picture/picture_loads.h"

#include <objbase.h>

#include <utility>

#include "forms_runtime/win32/picture/com_apartment.h"
#include "forms_runtime/win32/picture/picture_files.h"
#include "forms_runtime/win32/picture/wic_loader.h"

namespace kivo::forms::win32 {

namespace {

// How long a newer later load waits for the decoder to finish an older one before that is
// given up.
constexpr UINT kGiveUpGraceMs = 250;

}  // namespace

PictureLoads::Decoder::~Decoder() {
    if (give_up != nullptr) {
        CloseHandle(give_up);
    }
}

PictureLoads::PictureLoads(BackgroundThreads& threads, std::unique_ptr<DecoderClient> helper)
    : threads_(threads), decoder_(std::make_shared<Decoder>()) {
    decoder_->helper = std::move(helper);
    decoder_->give_up = CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

PictureLoads::~PictureLoads() {
    if (busy_ && decoder_->give_up != nullptr) {
        SetEvent(decoder_->give_up);
    }
}

std::function<void()> PictureLoads::Decode(const Request& request,
                                           std::shared_ptr<Outcome> outcome) {
    if (decoder_->give_up != nullptr) {
        ResetEvent(decoder_->give_up);
    }
    return [decoder = decoder_, path = request.path, hint = request.hint, scale = request.scale,
            outcome = std::move(outcome)] {
        try {
            if (decoder->helper != nullptr) {
                outcome->picture = decoder->helper->Load(path, hint, scale, decoder->give_up);
                return;
            }
            const ComApartment com;
            WicLoader wic;  // ends before COM does
            outcome->picture = LoadPictureFile(wic, path, hint, scale);
        } catch (...) {
            outcome->error = std::current_exception();  // handed to the window's thread
        }
    };
}

void PictureLoads::LoadLater(const std::string& path, const DecodeHint& hint,
                             const PixelScale& scale,
                             std::function<void(Picture, std::exception_ptr)> arrive) {
    next_ = Request{path, hint, scale, std::move(arrive)};
    if (!busy_) {
        StartNext();
        return;
    }
    threads_.After(kGiveUpGraceMs, [this, load = decoding_.Current()] {
        if (load.wanted() && next_) {
            SetEvent(decoder_->give_up);
        }
    });
}

void PictureLoads::StartNext() {
    Request request = std::move(*next_);
    next_.reset();
    busy_ = true;
    auto outcome = std::make_shared<Outcome>();
    threads_.Later(Decode(request, outcome),
                   [this, load = decoding_.Take(), outcome, arrive = std::move(request.arrive)] {
                       if (load.wanted()) {
                           Finished(outcome, arrive);
                       }
                   });
}

void PictureLoads::Finished(const std::shared_ptr<Outcome>& outcome,
                            const std::function<void(Picture, std::exception_ptr)>& arrive) {
    busy_ = false;
    decoding_.Drop();  // its grace, if one is still to come, is over
    if (next_) {
        StartNext();
    }
    RestIfIdle();
    arrive(std::move(outcome->picture), outcome->error);
}

void PictureLoads::EndHelperNow() {
    if (decoder_->helper != nullptr) {
        decoder_->helper->KillHelper();
    }
}

void PictureLoads::Rest(bool resting) {
    resting_ = resting;
    RestIfIdle();
}

void PictureLoads::RestIfIdle() {
    // A load under way has the helper to itself until it is done.
    if (resting_ && !busy_ && decoder_->helper != nullptr) {
        decoder_->helper->EndHelper();
    }
}

}  // namespace kivo::forms::win32
