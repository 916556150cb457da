#pragma once

#include <cstdint>
#include <memory>

#include "forms_runtime/application.h"
#include "forms_runtime/basics/decode_hint.h"
#include "forms_runtime/controls/file_list.h"
#include "forms_runtime/controls/image.h"
#include "forms_runtime/controls/label.h"
#include "forms_runtime/controls/timer.h"
#include "forms_runtime/form.h"
#include "saver_window/prepared_slide.h"
#include "saver_window/slide_show.h"
#include "startup/module/saversample.h"

namespace kivo::saver_window {

// The slide show window, full screen or inside the preview of the display settings. Every
// interval it shows a random picture of one folder; a key, a mouse button or a real pointer
// movement over the picture ends the screen saver.
class frmScreenSaver : public forms::Form {
  public:
    // The window that leads a slide show: it reads every setting and lists the folder, and its
    // timer ticks for the show's every window.
    frmScreenSaver(forms::Application& app, startup::SaverSample& module);
    // Another window of `show` (another monitor's): it shows slides from the leader's list at the
    // leader's ticks, and input over it ends the whole show as it does over the leader.
    frmScreenSaver(forms::Application& app, startup::SaverSample& module,
                   std::shared_ptr<SlideShow> show);
    ~frmScreenSaver() override;

    forms::FileList& File1;
    forms::Timer& Timer;
    forms::Label& Label;
    forms::Image& Imager;

    // Positions in the list: the current slide's and the previous one's. 32 bits, since a folder
    // may hold more than 32767 files.
    std::int32_t CurrentIndex = 0;
    std::int32_t PreviousIndex = 0;

    void Form_Load() override;
    void Form_KeyDown(int key_code, int shift) override;
    void Form_Unload(std::int16_t& cancel) override;
    void DisplaysChanged(bool on) override;
    void Imager_MouseMove(int button, int shift, float x, float y);
    void Imager_MouseDown(int button, int shift, float x, float y);
    void Imager_Click();
    void Timer_Timer();

    const std::shared_ptr<SlideShow>& Slides() const { return show_; }
    // The position of the next slide in a list of `count` files: a random draw, moved on when it
    // repeats the previous slide's.
    std::int32_t Draw(std::int32_t count);
    // How a picture is decoded for this window: no larger than it is shown.
    forms::DecodeHint SlideHint() const;
    // Shows a slide in one event: names it, shows its picture shrunk to the window when larger,
    // and centres it; a picture that failed keeps the previous one, fitted and centred again.
    void ShowSlide(const PreparedSlide& slide);

  private:
    void EndScreenSaver();
    bool preview() const { return module_.RunMode == "P"; }

    startup::SaverSample& module_;
    std::shared_ptr<SlideShow> show_;
};

}  // namespace kivo::saver_window
