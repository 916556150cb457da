#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "forms_runtime/backend.h"
#include "forms_runtime/basics/errors.h"
#include "forms_runtime/basics/random.h"
#include "forms_runtime/controls/services.h"
#include "forms_runtime/controls/timer.h"
#include "forms_runtime/form.h"

namespace kivo::forms {

// The program as the forms see it: loaded forms, the event dispatch with its error path, the end
// of the program, and the runtime's services (screen, message box, random numbers, conversions'
// locale, the executable's folder and the command line).
class Application : public Services {
  public:
    Application(Backend& backend, std::string title);
    ~Application();

    const std::string& Title() const { return title_; }

    // Runs the start-up procedure under the error path, then delivers events (the headless
    // backend: the test does). The program ends once an event leaves no form loaded.
    void Run(const std::function<void()>& main);

    // Creates the form and its window (not shown) and runs its Form_Load; no timer event reaches
    // it before Form_Load returns.
    template <typename F, typename... Args>
    F& Load(Args&&... args) {
        auto form = std::make_unique<F>(*this, std::forward<Args>(args)...);
        F& ref = *form;
        load(std::move(form));
        return ref;
    }
    // Runs Form_Unload and, unless it cancels, destroys the window. The form object itself lives
    // on until the current event has returned.
    void Unload(Form& form);
    // Ends the program at once: no further event runs, nothing after this call executes.
    [[noreturn]] void End();
    // The same outside any event: lets go of the windows and of what WhenEnding names, then ends
    // the process. Returns only in the headless backend, or when the program has ended already.
    void Finish();
    // Runs `let_go` when the program decides to end, whichever way, after the forms' windows are
    // gone and before the process ends, which work still under way may hold back: what tells
    // other programs that this one runs is let go here, so that none of them waits for it.
    void WhenEnding(std::function<void()> let_go) { when_ending_.push_back(std::move(let_go)); }
    bool ended() const { return ended_; }
    bool AnyFormLoaded() const;
    const std::vector<std::unique_ptr<Form>>& forms() const { return forms_; }

    // Runs one event's handler. An error that the handler does not catch takes the error path: one
    // message box titled with the application title that says what failed, then the end.
    void RaiseEvent(const std::function<void()>& handler);
    // Timer events are dropped while their form is loading or once it is unloaded, and while the
    // displays are off.
    void RaiseTimer(Timer& timer);
    // The system reports the console's displays off (false) or on again, dimmed or not (true).
    // While they are off, no timer event runs and the pictures rest (Backend::RestPictures); each
    // loaded form hears of the change as an event (Form::DisplaysChanged). The first tick after
    // they come on is a tick like any other.
    void DisplaysChanged(bool on);

    // Services, over the backend.
    FileSystem& Files() override;
    ScreenMetrics Screen() const override;
    using Services::MsgBox;
    int MsgBox(const std::string& prompt, MsgBoxStyle style, const std::string& title) override;
    std::string Path() const override;
    Picture LoadResourcePicture(const std::string& name) override;
    NumberFormat Locale() const override;
    std::string Command() const override;
    void ReadLater(std::function<void()> read,
                   std::function<void(std::exception_ptr)> arrive) override;
    bool AskBriefly(std::function<void()> question) override;
    void LoadPictureLater(const std::string& path, const DecodeHint& hint,
                          std::function<void(Picture)> arrive) override;

    // Runs `step`; a runtime error that it raises, at once or later from a reading that it asked
    // for, is raised again naming `subject` as what failed (a setting and its value, so that the
    // user learns what to mend).
    template <typename Step>
    auto NameErrors(const std::string& subject, Step&& step) -> decltype(step()) {
        const ErrorSubjectScope scope(*this, subject);
        try {
            return step();
        } catch (const RuntimeError& error) {
            throw RuntimeError(error.kind(), subject);
        }
    }

    void Randomize();
    float Rnd();
    void SetRandomSource(std::unique_ptr<RandomSource> source);

  private:
    class ErrorSubjectScope {
      public:
        ErrorSubjectScope(Application& app, const std::string& subject)
            : app_(app), outer_(std::exchange(app.error_subject_, subject)) {}
        ~ErrorSubjectScope() { app_.error_subject_ = std::move(outer_); }
        ErrorSubjectScope(const ErrorSubjectScope&) = delete;
        ErrorSubjectScope& operator=(const ErrorSubjectScope&) = delete;

      private:
        Application& app_;
        std::string outer_;
    };

    void load(std::unique_ptr<Form> form);
    [[noreturn]] void ReportFatal(const std::string& message);
    void CollectUnloaded();

    Backend& backend_;
    std::string title_;
    std::vector<std::unique_ptr<Form>> forms_;
    std::unique_ptr<RandomSource> random_;
    int event_depth_ = 0;
    bool ended_ = false;
    bool failing_ = false;  // the error path's message is up: no other event runs
    bool displays_off_ = false;
    std::string error_subject_;
    // While a form loads: until when AskBriefly may wait, on the backend's clock.
    std::optional<std::chrono::milliseconds> brief_until_;
    std::vector<std::function<void()>> when_ending_;
};

}  // namespace kivo::forms
