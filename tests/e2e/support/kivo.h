// Everything an end-to-end test of Kivo needs, and the texts by which it finds Kivo.
#pragma once

#include "support/bmp.h"
#include "support/errors.h"
#include "support/host_window.h"
#include "support/input.h"
#include "support/process.h"
#include "support/registry.h"
#include "support/saver_folder.h"
#include "support/screen.h"
#include "support/temp_folder.h"
#include "support/text.h"
#include "support/wait.h"
#include "support/window_facts.h"

namespace kivo::e2e {

// The title of the slide-show window.
inline constexpr wchar_t kSaverWindowTitle[] = L"ScreenSaver ボール(Sample)";

// Where Kivo keeps its settings, below HKEY_CURRENT_USER.
inline constexpr wchar_t kApplicationKey[] = L"Software\\スライドショー(スクリーンセーバー）";
inline constexpr wchar_t kSettingsKey[] = L"Software\\スライドショー(スクリーンセーバー）\\設定";
inline constexpr wchar_t kFolderValue[] = L"パス";
inline constexpr wchar_t kFileNameValue[] = L"ファイル名";
inline constexpr wchar_t kIntervalValue[] = L"切り替え時間";

}  // namespace kivo::e2e
