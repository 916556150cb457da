#pragma once

#include <cstdint>
#include <string>

#include "forms_runtime/conversions.h"
#include "forms_runtime/errors.h"

namespace kivo::saver_window {

// The largest interval the window system's timer takes, in milliseconds.
inline constexpr std::int32_t kLongestInterval = 0x7FFFFFFF;

// "ファイル名" as the slide show reads it: "True"/"False" or a number, non-zero meaning shown.
bool ShowFileName(const std::string& stored, const forms::NumberFormat& format);

// "切り替え時間" in seconds as the timer's interval in milliseconds, rounded with halves to
// even. Longer than the timer takes: the longest it takes. Not a number, or below zero: an error
// naming the setting and the value.
std::int32_t IntervalMilliseconds(const std::string& stored, const forms::NumberFormat& format);

// Runs a step that uses a stored value; a runtime error it raises is raised again naming the
// setting and the value, so the user learns which one to mend.
template <typename Step>
auto WithSetting(const char* key, const std::string& value, Step&& step) -> decltype(step()) {
    try {
        return step();
    } catch (const forms::RuntimeError& error) {
        throw forms::RuntimeError(error.kind(), std::string("設定「") + key + "」の値: " + value);
    }
}

}  // namespace kivo::saver_window
