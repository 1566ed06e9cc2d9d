// The main dialog's form: every control's name, kind, place, texts and tab order.
#pragma once

#include "platform/form_layout.h"

namespace veltrano {

const layout::Form& form1Layout();

}  // namespace veltrano
