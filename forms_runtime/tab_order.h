#pragma once

#include <vector>

#include "forms_runtime/controls.h"
#include "forms_runtime/form.h"

namespace kivo::forms {

// The controls that take the keyboard focus, in the order Tab visits them: windowed controls
// other than frames, visible and enabled, by tab position. The first one has the focus when the
// form opens.
std::vector<Control*> TabOrder(const Form& form);

}  // namespace kivo::forms
