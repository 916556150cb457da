#pragma once

// Every kind of control a form's layout table may hold.
#include "forms_runtime/check_box.h"
#include "forms_runtime/command_button.h"
#include "forms_runtime/control.h"
#include "forms_runtime/dir_list.h"
#include "forms_runtime/drive_list.h"
#include "forms_runtime/file_list.h"
#include "forms_runtime/frame.h"
#include "forms_runtime/image.h"
#include "forms_runtime/label.h"
#include "forms_runtime/text_box.h"
#include "forms_runtime/timer.h"
