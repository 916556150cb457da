#pragma once

#include <cstdint>
#include <string>

#include "forms_runtime/basics/conversions.h"

namespace kivo::saver_window {

// The largest interval the window system's timer takes, in milliseconds.
inline constexpr std::int32_t kLongestInterval = 0x7FFFFFFF;

// "ファイル名" as the slide show reads it: "True"/"False" or a number, non-zero meaning shown.
bool ShowFileName(const std::string& stored, const forms::NumberFormat& format);

// "切り替え時間" in seconds as the timer's interval in milliseconds, rounded with halves to
// even. Longer than the timer takes: the longest it takes. Not a number, or below zero: an error
// naming the setting and the value.
std::int32_t IntervalMilliseconds(const std::string& stored, const forms::NumberFormat& format);

// What an error on a stored value names, so that the user learns which setting to mend.
inline std::string SettingSubject(const char* key, const std::string& value) {
    return std::string("設定「") + key + "」の値: " + value;
}

}  // namespace kivo::saver_window
