#pragma once

#include <cstdint>
#include <string>

#include "forms_runtime/form_peer.h"

namespace kivo::forms::headless {

// The peer of a headless form: what a screen would show, as state the test can read.
class HeadlessFormPeer : public FormPeer {
  public:
    HeadlessFormPeer(std::intptr_t handle, FrameInsets insets) : handle_(handle), insets_(insets) {}

    std::intptr_t Handle() const override { return handle_; }
    FrameInsets Insets() const override { return insets_; }
    void FormChanged(FormProperty) override {}
    void ControlChanged(Control&, ControlProperty) override {}
    void Show(bool) override {}
    void Destroy() override {}
    void Loaded() override {}
    TextExtent MeasureText(const Control& control, const std::string& text) override;

  private:
    std::intptr_t handle_;
    FrameInsets insets_;
};

}  // namespace kivo::forms::headless
