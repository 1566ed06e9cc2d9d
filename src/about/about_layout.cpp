#include "about/about_layout.h"

#include "about/about_texts.h"

namespace veltrano::about {

using layout::Kind;

// The texts the presenter replaces on load start as placeholders.
const layout::Form& aboutLayout() {
    static const layout::Form form{
        .name = "frmAbout",
        .caption = "About Veltrano",
        .clientWidth = 8400,
        .clientHeight = 7000,
        .fixedPlaces = false,
        .controls = {
            {.name = "picIcon",
             .kind = Kind::PictureBox,
             .place = {240, 240, 540, 540},
             .picture = true},
            {.name = "lblTitle",
             .kind = Kind::Label,
             .place = {1050, 240, 7100, 480},
             .caption = titleText()},
            {.name = "lblVersion",
             .kind = Kind::Label,
             .place = {1050, 780, 7100, 300},
             .caption = "Version"},
            // Tall enough for the whole description in the message font at any usual scaling.
            {.name = "lblDescription",
             .kind = Kind::Label,
             .place = {1050, 1125, 7100, 4500},
             .caption = "App Description"},
            {.name = "lblDisclaimer",
             .kind = Kind::Label,
             .place = {255, 5880, 5900, 900},
             .caption = "Warning: ..."},
            {.name = "cmdOK",
             .kind = Kind::CommandButton,
             .place = {6700, 5880, 1450, 375},
             .caption = "OK",
             .isDefault = true},
            {.name = "cmdSysInfo",
             .kind = Kind::CommandButton,
             .place = {6700, 6390, 1450, 375},
             .caption = "&System Info..."},
            // The two ornaments between the description and the disclaimer.
            {.name = "Line1", .kind = Kind::Line, .place = {255, 5700, 7895, 15}},
            {.name = "Line1", .kind = Kind::Line, .place = {255, 5715, 7895, 15}},
        }};
    return form;
}

}  // namespace veltrano::about
