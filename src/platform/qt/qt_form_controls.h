// Qt widgets made from a form's layout: each named after its control, in tab order.
#pragma once

#include <QWidget>
#include <vector>

#include "platform/form_layout.h"

namespace veltrano {

// Pixels for a length in twips at the screen's resolution.
int twipsToPixels(int twips);
QRect pixelRect(const layout::Twips& place);

// Creates on the form every control Qt builds, with its texts and state, at its place when
// the places are fixed, and chains the focusable ones in tab order. Pictures are the
// caller's to set. Returns the widgets in the layout's order.
std::vector<QWidget*> createControls(const layout::Form& form, QWidget* window);

}  // namespace veltrano
