#pragma once

#include "forms_runtime/application.h"
#include "forms_runtime/form.h"
#include "startup/saversample.h"

namespace kivo::saver_window {

// The slide show window, full screen or inside the preview of the display settings.
class frmScreenSaver : public forms::Form {
  public:
    frmScreenSaver(forms::Application& app, startup::SaverSample& module);

    forms::FileList& File1;
    forms::Timer& Timer;
    forms::Label& Label;
    forms::Image& Imager;

  private:
    startup::SaverSample& module_;
};

}  // namespace kivo::saver_window
