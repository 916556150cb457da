#include "tests/unit/fake_system.h"

#include <cstdio>

namespace kivo::testing {

namespace {

std::string Hex(long long value) {
    char text[32];
    std::snprintf(text, sizeof text, "%llx", value);
    return text;
}

}  // namespace

std::vector<std::string> FakeSystem::CallsTo(const std::string& prefix) const {
    std::vector<std::string> matching;
    for (const std::string& call : calls) {
        if (call.rfind(prefix, 0) == 0) {
            matching.push_back(call);
        }
    }
    return matching;
}

bool FakeSystem::TakeSaverLock() {
    Record("TakeSaverLock");
    saver_lock_taken = !saver_lock_held;
    return saver_lock_taken;
}

bool FakeSystem::SaverLockHeld() {
    Record("SaverLockHeld");
    return saver_lock_held;
}

bool FakeSystem::TopLevelWindowExists(const char* title) {
    Record(std::string("FindWindow ") + title);
    return saver_window_exists;
}

std::optional<std::int32_t> FakeSystem::ReadScreenSaveUsePassword() {
    Record("ReadScreenSaveUsePassword");
    return use_password_value;
}

startup::WindowHandle FakeSystem::ForegroundWindow() {
    Record("GetForegroundWindow");
    return foreground;
}

bool FakeSystem::ChangeScreenSaverPassword(startup::WindowHandle window) {
    Record("PwdChangePassword " + Hex(window));
    return password_change_available;
}

std::int32_t FakeSystem::ReadWindowLong(startup::WindowHandle window, std::int32_t index) {
    Record("GetWindowLong " + Hex(window) + " " + std::to_string(index));
    return window_style;
}

void FakeSystem::WriteWindowLong(startup::WindowHandle window, std::int32_t index,
                                 std::int32_t value) {
    Record("SetWindowLong " + Hex(window) + " " + std::to_string(index) + " " +
           Hex(static_cast<std::uint32_t>(value)));
    window_style = value;
}

void FakeSystem::SetParent(startup::WindowHandle child, startup::WindowHandle parent) {
    Record("SetParent " + Hex(child) + " " + Hex(parent));
}

std::optional<startup::PixelSize> FakeSystem::ClientSize(startup::WindowHandle window) {
    Record("ClientSize " + Hex(window));
    return host_client_size;
}

void FakeSystem::MakeTopmost(startup::WindowHandle window) {
    Record("MakeTopmost " + Hex(window));
}

void FakeSystem::SetScreenSaverRunning(bool running) {
    Record(std::string("SetScreenSaverRunning ") + (running ? "1" : "0"));
}

int FakeSystem::ShowCursor(bool show) {
    cursor_count += show ? 1 : -1;
    Record(std::string("ShowCursor ") + (show ? "1" : "0") + " -> " + std::to_string(cursor_count));
    return cursor_count;
}

std::optional<startup::PixelPoint> FakeSystem::CursorPosition() {
    Record("GetCursorPos");
    return cursor;
}

std::optional<std::int32_t> FakeSystem::VerifyScreenSaverPassword(startup::WindowHandle window) {
    Record("VerifyScreenSavePwd " + Hex(window));
    if (verify_answers.empty()) {
        return std::nullopt;
    }
    const auto answer = verify_answers.front();
    verify_answers.erase(verify_answers.begin());
    return answer;
}

startup::WindowHandle FakeSystem::Owner(startup::WindowHandle window) {
    Record("GetWindow owner " + Hex(window));
    return owner;
}

void FakeSystem::PostClose(startup::WindowHandle window) {
    Record("PostClose " + Hex(window));
}

std::vector<startup::Monitor> FakeSystem::Monitors() {
    Record("Monitors");
    return monitors;
}

void FakeSystem::ShowCovers(startup::WindowHandle window,
                            const std::vector<startup::PixelRect>& rects) {
    Record("ShowCovers " + Hex(window) + " " + std::to_string(rects.size()));
    covers = rects;
}

void FakeSystem::WatchMonitors(startup::WindowHandle window, std::function<void()> changed) {
    Record("WatchMonitors " + Hex(window));
    monitors_changed = std::move(changed);
}

}  // namespace kivo::testing
