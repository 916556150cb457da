#pragma once

#include "forms_runtime/errors.h"

namespace kivo::saver_window {

template <typename Step>
auto WithSetting(const char* key, const std::string& value, Step&& step) -> decltype(step()) {
    try {
        return step();
    } catch (const forms::RuntimeError& error) {
        throw forms::RuntimeError(error.kind(), std::string("設定「") + key + "」の値: " + value);
    }
}

}  // namespace kivo::saver_window
