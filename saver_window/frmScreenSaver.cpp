#include "saver_window/frmScreenSaver.h"

#include "saver_window/screen_saver_layout.h"

namespace kivo::saver_window {

frmScreenSaver::frmScreenSaver(forms::Application& app, startup::SaverSample& module)
    : Form(app, kScreenSaverLayout),
      File1(Find<forms::FileList>("File1")),
      Timer(Find<forms::Timer>("Timer")),
      Label(Find<forms::Label>("Label")),
      Imager(Find<forms::Image>("Imager")),
      module_(module) {}

}  // namespace kivo::saver_window
