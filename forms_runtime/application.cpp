#include "forms_runtime/application.h"

#include <algorithm>

#include "forms_runtime/errors.h"

namespace kivo::forms {

Application::Application(Backend& backend, std::string title)
    : backend_(backend),
      title_(std::move(title)),
      random_(std::make_unique<LinearCongruentialRandom>()) {}

Application::~Application() = default;

void Application::Run(const std::function<void()>& main) {
    RaiseEvent(main);
    if (!ended_ && AnyFormLoaded()) {
        backend_.RunMessageLoop(*this);
    }
}

void Application::load(std::unique_ptr<Form> owned) {
    Form& form = *owned;
    forms_.push_back(std::move(owned));
    form.loading_ = true;
    form.peer_ = backend_.CreatePeer(form);

    const FrameInsets insets = form.peer_->Insets();
    const float width = form.layout_.client_width + insets.left + insets.right;
    const float height = form.layout_.client_height + insets.top + insets.bottom;
    float left = 0;
    float top = 0;
    if (form.layout_.start_up_position == StartUpPosition::CenterScreen) {
        const ScreenMetrics screen = Screen();
        left = (screen.width - width) / 2;
        top = (screen.height - height) / 2;
    }
    form.Move(left, top, width, height);

    form.Form_Load();
    form.loading_ = false;
    if (form.loaded()) {
        form.peer_->Loaded();
    }
}

void Application::Unload(Form& form) {
    if (!form.loaded() || form.unloading_) {
        return;
    }
    form.unloading_ = true;
    std::int16_t cancel = 0;
    form.Form_Unload(cancel);
    form.unloading_ = false;
    if (cancel != 0) {
        return;
    }
    form.unloaded_ = true;
    form.peer_->Destroy();
}

void Application::End() {
    ended_ = true;
    backend_.EndProgram();
    throw ProgramEnded{};
}

bool Application::AnyFormLoaded() const {
    return std::any_of(forms_.begin(), forms_.end(),
                       [](const std::unique_ptr<Form>& form) { return form->loaded(); });
}

void Application::RaiseEvent(const std::function<void()>& handler) {
    if (ended_) {
        return;
    }
    ++event_depth_;
    try {
        try {
            handler();
        } catch (const std::exception& error) {
            ReportFatal(error.what());
        }
    } catch (const ProgramEnded&) {
        if (event_depth_ > 1) {
            --event_depth_;
            throw;  // unwinds the outer handlers too: nothing after the end runs
        }
    }
    --event_depth_;
    if (event_depth_ == 0) {
        CollectUnloaded();
    }
}

void Application::RaiseTimer(Timer& timer) {
    Form& form = timer.form();
    if (form.loading() || !form.loaded() || !timer.Enabled || timer.Interval <= 0) {
        return;
    }
    RaiseEvent([&timer] {
        if (timer.on_timer) {
            timer.on_timer();
        }
    });
}

void Application::ReportFatal(const std::string& message) {
    backend_.MsgBox(message, kCritical, title_);
    End();
}

void Application::CollectUnloaded() {
    std::erase_if(forms_, [](const std::unique_ptr<Form>& form) { return form->unloaded_; });
}

int Application::MsgBox(const std::string& prompt, int style, const std::string& title) {
    return backend_.MsgBox(prompt, style, title.empty() ? title_ : title);
}

void Application::Randomize() {
    random_->Seed(backend_.ClockSeed());
}

float Application::Rnd() {
    return random_->Next();
}

void Application::SetRandomSource(std::unique_ptr<RandomSource> source) {
    random_ = std::move(source);
}

}  // namespace kivo::forms
