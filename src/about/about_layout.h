// The About box's form: its controls' names, kinds, texts and tab order, and one arrangement.
#pragma once

#include "platform/form_layout.h"

namespace veltrano::about {

const layout::Form& aboutLayout();

}  // namespace veltrano::about
