#pragma once

// Every kind of control a form's layout table may hold.
#include "forms_runtime/controls/check_box.h"
#include "forms_runtime/controls/command_button.h"
#include "forms_runtime/controls/control.h"
#include "forms_runtime/controls/dir_list.h"
#include "forms_runtime/controls/drive_list.h"
#include "forms_runtime/controls/file_list.h"
#include "forms_runtime/controls/frame.h"
#include "forms_runtime/controls/image.h"
#include "forms_runtime/controls/label.h"
#include "forms_runtime/controls/text_box.h"
#include "forms_runtime/controls/timer.h"
