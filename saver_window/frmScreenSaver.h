#pragma once

#include <cstdint>

#include "forms_runtime/application.h"
#include "forms_runtime/controls/file_list.h"
#include "forms_runtime/controls/image.h"
#include "forms_runtime/controls/label.h"
#include "forms_runtime/controls/timer.h"
#include "forms_runtime/form.h"
#include "startup/module/saversample.h"

namespace kivo::saver_window {

// The slide show window, full screen or inside the preview of the display settings. Every
// interval it shows a random picture of one folder; a key, a mouse button or a real pointer
// movement over the picture ends the screen saver.
class frmScreenSaver : public forms::Form {
  public:
    frmScreenSaver(forms::Application& app, startup::SaverSample& module);

    forms::FileList& File1;
    forms::Timer& Timer;
    forms::Label& Label;
    forms::Image& Imager;

    // Positions in File1's list: the current tick's and the previous tick's. 32 bits, since a
    // folder may hold more than 32767 files.
    std::int32_t CurrentIndex = 0;
    std::int32_t PreviousIndex = 0;

    void Form_Load() override;
    void Form_KeyDown(int key_code, int shift) override;
    void Form_Unload(std::int16_t& cancel) override;
    void Imager_MouseMove(int button, int shift, float x, float y);
    void Imager_MouseDown(int button, int shift, float x, float y);
    void Imager_Click();
    void Timer_Timer();

  private:
    void EndScreenSaver();
    // Loads, fits, centres and shows the current file; each step on its own, a failing one
    // skipped.
    void ShowSlide(const std::string& file_name);
    bool preview() const { return module_.RunMode == "P"; }

    startup::SaverSample& module_;
};

}  // namespace kivo::saver_window
