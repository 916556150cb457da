#pragma once

namespace kivo::forms {

// What a message box shows besides its text: the OK button alone, with no icon, with the error
// icon or with the warning icon. Each backend maps it to its platform's styles.
enum class MsgBoxStyle { kOkOnly, kCritical, kExclamation };

}  // namespace kivo::forms
