#pragma once

namespace kivo::settings {

// Where the slide show's settings live, and their keys.
inline constexpr const char* kApplication = "スライドショー(スクリーンセーバー）";
inline constexpr const char* kSection = "設定";
inline constexpr const char* kFolderKey = "パス";
inline constexpr const char* kShowFileNameKey = "ファイル名";
inline constexpr const char* kIntervalKey = "切り替え時間";

}  // namespace kivo::settings
