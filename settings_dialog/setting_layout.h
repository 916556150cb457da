#pragma once

#include "forms_runtime/basics/layout.h"

namespace kivo::settings_dialog {

// The settings dialog as it stands when created: dark, a fixed tool window, its controls placed in
// twips within the window or the frame "フォルダの設定".
extern const forms::FormSpec kSettingLayout;

}  // namespace kivo::settings_dialog
