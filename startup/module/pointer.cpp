#include "startup/module/pointer.h"

namespace kivo::startup {

namespace {
// Enough calls to reach any count there is.
constexpr int kMaxCursorCalls = 1 << 16;
}  // namespace

void HidePointer(System& system) {
    for (int calls = 0; calls < kMaxCursorCalls && system.ShowCursor(false) >= 0; ++calls) {
    }
}

void ShowPointer(System& system) {
    for (int calls = 0; calls < kMaxCursorCalls && system.ShowCursor(true) < 0; ++calls) {
    }
}

}  // namespace kivo::startup
