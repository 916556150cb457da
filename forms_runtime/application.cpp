#include "forms_runtime/application.h"

#include <algorithm>

namespace kivo::forms {

namespace {

// How long a form's loading may wait, in all, for the file system's quick answers.
constexpr std::chrono::milliseconds kBriefWait{250};

// The error, named after `subject` when it is a runtime error and a subject is given.
std::exception_ptr Named(std::exception_ptr error, const std::string& subject) {
    if (error == nullptr || subject.empty()) {
        return error;
    }
    try {
        std::rethrow_exception(error);
    } catch (const RuntimeError& runtime_error) {
        return std::make_exception_ptr(RuntimeError(runtime_error.kind(), subject));
    } catch (...) {
        return std::current_exception();
    }
}

}  // namespace

Application::Application(Backend& backend, std::string title)
    : backend_(backend),
      title_(std::move(title)),
      random_(std::make_unique<LinearCongruentialRandom>()) {}

Application::~Application() = default;

void Application::Run(const std::function<void()>& main) {
    RaiseEvent(main);
    if (!ended_) {
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

    // A form loaded while another loads shares that load's quarter second.
    const std::optional<std::chrono::milliseconds> outer = brief_until_;
    if (!outer) {
        brief_until_ = backend_.Later().Now() + kBriefWait;
    }
    struct LoadEnds {
        Application& app;
        std::optional<std::chrono::milliseconds> outer;
        ~LoadEnds() { app.brief_until_ = outer; }
    } load_ends{*this, outer};
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
    Finish();
    throw ProgramEnded{};
}

void Application::Finish() {
    if (ended_) {
        return;
    }
    ended_ = true;
    // What others see first: a window still up would tell a new copy that this one runs.
    for (const std::unique_ptr<Form>& form : forms_) {
        if (form->peer_ != nullptr) {
            form->peer_->Destroy();
        }
    }
    for (const std::function<void()>& let_go : when_ending_) {
        let_go();
    }
    backend_.EndProgram();
}

bool Application::AnyFormLoaded() const {
    return std::any_of(forms_.begin(), forms_.end(),
                       [](const std::unique_ptr<Form>& form) { return form->loaded(); });
}

void Application::RaiseEvent(const std::function<void()>& handler) {
    if (ended_ || failing_) {
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
        if (!ended_ && !AnyFormLoaded()) {
            Finish();  // no form is left: the program ends
        }
    }
}

void Application::RaiseTimer(Timer& timer) {
    const auto& form = dynamic_cast<const Form&>(timer.host());
    if (displays_off_ || form.loading() || !form.loaded() || !timer.Enabled ||
        timer.Interval <= 0) {
        return;
    }
    RaiseEvent([&timer] {
        if (timer.on_timer) {
            timer.on_timer();
        }
    });
}

void Application::DisplaysChanged(bool on) {
    if (displays_off_ == !on) {
        return;
    }
    displays_off_ = !on;
    backend_.RestPictures(displays_off_);
    RaiseEvent([this, on] {
        for (const std::unique_ptr<Form>& form : forms_) {
            if (form->loaded() && !form->loading()) {
                form->DisplaysChanged(on);
            }
        }
    });
}

void Application::ReportFatal(const std::string& message) {
    failing_ = true;
    backend_.MsgBox(message, MsgBoxStyle::kCritical, title_);
    End();
}

void Application::CollectUnloaded() {
    std::erase_if(forms_, [](const std::unique_ptr<Form>& form) { return form->unloaded_; });
}

FileSystem& Application::Files() {
    return backend_.Files();
}

ScreenMetrics Application::Screen() const {
    return backend_.Screen();
}

std::string Application::Path() const {
    return backend_.ExecutableFolder();
}

Picture Application::LoadResourcePicture(const std::string& name) {
    return backend_.LoadResourcePicture(name);
}

NumberFormat Application::Locale() const {
    return backend_.UserNumberFormat();
}

std::string Application::Command() const {
    return backend_.CommandLine();
}

int Application::MsgBox(const std::string& prompt, MsgBoxStyle style, const std::string& title) {
    return backend_.MsgBox(prompt, style, title.empty() ? title_ : title);
}

void Application::ReadLater(std::function<void()> read,
                            std::function<void(std::exception_ptr)> arrive) {
    auto error = std::make_shared<std::exception_ptr>();
    backend_.Later().Run(
        [read = std::move(read), error] {
            try {
                read();
            } catch (...) {
                *error = std::current_exception();  // handed to `arrive`
            }
        },
        [this, arrive = std::move(arrive), error, subject = error_subject_] {
            RaiseEvent([&] { arrive(Named(*error, subject)); });
        });
}

bool Application::AskBriefly(std::function<void()> question) {
    if (!brief_until_) {
        return false;
    }
    const std::chrono::milliseconds left = *brief_until_ - backend_.Later().Now();
    if (left <= std::chrono::milliseconds::zero()) {
        return false;
    }
    auto failed = std::make_shared<bool>(false);
    const bool finished = backend_.Later().Ask(
        [question = std::move(question), failed] {
            try {
                question();
            } catch (...) {
                *failed = true;  // no answer: the caller goes on as if none came in time
            }
        },
        left);
    return finished && !*failed;
}

void Application::LoadPictureLater(const std::string& path, const DecodeHint& hint,
                                   std::function<void(Picture)> arrive) {
    backend_.LoadPictureLater(
        path, hint, [this, arrive = std::move(arrive)](Picture picture, std::exception_ptr error) {
            RaiseEvent([&] { arrive(error == nullptr ? std::move(picture) : nullptr); });
        });
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
