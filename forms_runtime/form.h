#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "forms_runtime/basics/layout.h"
#include "forms_runtime/basics/property.h"
#include "forms_runtime/controls/control.h"
#include "forms_runtime/controls/control_host.h"

namespace kivo::forms {

class Application;
class FormPeer;
class Services;

// What changed on a form, so that its peer can mirror it on screen.
enum class FormProperty { Geometry, Caption, WindowState };

// A window: its own properties, its controls made from its layout table, and its event handlers.
// A concrete form binds its controls by name in its constructor and overrides the handlers it
// has; `Application::Load` then creates its window and runs `Form_Load`.
class Form : public ControlHost {
  public:
    Form(Application& app, const FormSpec& layout);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Outer position and size in twips. Before the window exists they hold the design values (the
    // client size); loading adds the frame.
    Property<float> Left;
    Property<float> Top;
    Property<float> Width;
    Property<float> Height;
    Property<std::string> Caption;
    Property<int> WindowState;  // 0 normal

    std::intptr_t hWnd() const;
    void Move(float left, float top, float width, float height);
    // Modeless returns at once; modal returns once the form has been unloaded.
    void Show(bool modal = false);
    // The control with that name (and control-array index); a logic error when there is none.
    template <typename C>
    C& Find(std::string_view name, int index = -1) const {
        return dynamic_cast<C&>(find(name, index));
    }
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
    const FormSpec& layout() const { return layout_; }
    Application& app() const { return app_; }
    // What the form and its controls may ask of the program.
    Services& services() const override;
    FormPeer* peer() const { return peer_.get(); }
    bool loading() const { return loading_; }
    bool loaded() const { return peer_ != nullptr && !unloaded_; }
    bool unloaded() const override { return unloaded_; }
    void ControlChanged(Control& control, ControlProperty what) override;
    std::optional<TextExtent> MeasureText(const Control& control,
                                          const std::string& text) const override;
    bool shown() const { return shown_; }
    bool modal() const { return modal_; }

    virtual void Form_Load() {}
    virtual void Form_Unload(std::int16_t& cancel) { (void)cancel; }
    virtual void Form_KeyDown(int key_code, int shift) {
        (void)key_code;
        (void)shift;
    }
    // The console's displays went off (false) or came back on (true); see
    // Application::DisplaysChanged.
    virtual void DisplaysChanged(bool on) { (void)on; }

  private:
    friend class Application;
    Control& find(std::string_view name, int index) const;
    void notify(FormProperty what);

    Application& app_;
    const FormSpec& layout_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::unique_ptr<FormPeer> peer_;
    bool loading_ = false;
    bool unloading_ = false;
    bool unloaded_ = false;
    bool shown_ = false;
    bool modal_ = false;
};

}  // namespace kivo::forms
