// A form as its designer drew it, free of any toolkit: what each window adapter builds from.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace veltrano::layout {

// The control kinds the forms use. A TextBox is multi-line with both scroll bars and a
// ComboBox takes typed text besides its list: the only ones of their kind the forms have.
enum class Kind { Label, TextBox, ComboBox, CheckBox, CommandButton, PictureBox, Line };

// Labels, pictures and lines take no focus: the tab key passes them by.
inline bool takesFocus(Kind kind) {
    return kind != Kind::Label && kind != Kind::PictureBox && kind != Kind::Line;
}

struct Twips {
    int left = 0, top = 0, width = 0, height = 0;
};

enum Toolkit : unsigned { kQt = 1, kWin32 = 2 };

struct Control {
    std::string name{};
    Kind kind = Kind::Label;
    Twips place{};
    std::string caption{};  // UTF-8; empty for boxes, which start empty
    std::string tooltip{};  // empty: none
    bool enabled = true;
    bool visible = true;
    bool isDefault = false;      // the button Enter presses
    bool picture = false;        // shows a picture each toolkit draws in its own way
    unsigned notYetBuiltBy = 0;  // Toolkit bits

    bool builtBy(Toolkit toolkit) const { return (notYetBuiltBy & toolkit) == 0; }
};

struct Form {
    std::string name{};
    std::string caption{};
    int clientWidth = 0, clientHeight = 0;  // twips
    // False where the design leaves the places open: they are then one arrangement of the
    // controls, and a toolkit with layouts may arrange them itself.
    bool fixedPlaces = true;
    std::vector<Control> controls{};  // in tab order: a control's index is its tab index
};

}  // namespace veltrano::layout
