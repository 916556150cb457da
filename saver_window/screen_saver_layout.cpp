#include "saver_window/screen_saver_layout.h"

#include <array>

namespace kivo::saver_window {

namespace {

using forms::ControlKind;
using forms::ControlSpec;

// Creation order is painting order: the picture is created after the label and covers it.
constexpr std::array kControls{
    ControlSpec{.kind = ControlKind::FileList,
                .name = "File1",
                .left = 2220,
                .top = 720,
                .width = 3945,
                .height = 3330,
                .visible = false},
    ControlSpec{.kind = ControlKind::Timer, .name = "Timer", .interval = 1500},
    ControlSpec{.kind = ControlKind::Label,
                .name = "Label",
                .left = 90,
                .top = 60,
                .width = 2925,
                .height = 285,
                .text = "Ostra's Slide Show Screen Saver",
                .fore_color = forms::kWhite,
                .back_color = forms::kBlack,
                .transparent = true},
    ControlSpec{.kind = ControlKind::Image,
                .name = "Imager",
                .left = 330,
                .top = 240,
                .width = 9825,
                .height = 7515},
};

}  // namespace

const forms::FormSpec kScreenSaverLayout{
    .name = "frmScreenSaver",
    .caption = "",
    .back_color = forms::kBlack,
    .border = forms::BorderStyle::None,
    .client_width = 4950,
    .client_height = 2385,
    .start_up_position = forms::StartUpPosition::CenterScreen,
    .has_icon = false,
    .controls = kControls,
};

}  // namespace kivo::saver_window
