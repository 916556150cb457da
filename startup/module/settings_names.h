#pragma once

#include <string>

namespace kivo::settings {

// Kivo's settings: where the slide show's settings live, and their keys. Both forms read them.
inline constexpr const char* kApplication = "スライドショー(スクリーンセーバー）";
inline constexpr const char* kSection = "設定";
inline constexpr const char* kFolderKey = "パス";
inline constexpr const char* kShowFileNameKey = "ファイル名";
inline constexpr const char* kIntervalKey = "切り替え時間";

// The picture folder when none is stored: "sample" beside the executable, with its trailing
// separator. The executable's folder has none except at a drive root, which is not doubled.
inline std::string DefaultFolder(const std::string& executable_folder) {
    const bool ends_with_separator = !executable_folder.empty() && executable_folder.back() == '\\';
    return executable_folder + (ends_with_separator ? "" : "\\") + "sample\\";
}

}  // namespace kivo::settings
