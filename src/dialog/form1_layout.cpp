#include "dialog/form1_layout.h"

namespace veltrano {

using layout::Kind;

const layout::Form& form1Layout() {
    static const layout::Form form{
        .name = "Form1",
        .caption = "MapInfo utility: Put points along the Selected polyline",
        .clientWidth = 9105,
        .clientHeight = 4980,
        .fixedPlaces = true,
        .controls = {
            {.name = "txtPoints",
             .kind = Kind::TextBox,
             .place = {45, 450, 2985, 4020},
             .tooltip = "Линейные координаты точек в метрах. Разделяются \";\" или переносом."},
            {.name = "Label1",
             .kind = Kind::Label,
             .place = {45, 180, 2985, 285},
             .caption = "Список точек (координаты в метрах)"},
            {.name = "Combo1",
             .kind = Kind::ComboBox,
             .place = {3195, 450, 3660, 315},
             .tooltip = "Таблица, в которую будут помещены точки."},
            {.name = "Label2",
             .kind = Kind::Label,
             .place = {3195, 180, 3660, 285},
             .caption = "Таблица для создаваемых точек"},
            // Nothing reads this option, so it is shown but cannot be changed.
            {.name = "chkBreakLine",
             .kind = Kind::CheckBox,
             .place = {3195, 1215, 3660, 315},
             .caption = "Разбивать линию в точках",
             .tooltip = "В местах вставки точки добавлять вершину к полилинии.",
             .enabled = false},
            {.name = "chkStartFromTheEnd",
             .kind = Kind::CheckBox,
             .place = {3195, 810, 3660, 315},
             .caption = "Отсчет от конца линии",
             .tooltip = "Вычислять координты о конца линии."},
            {.name = "txtSelectedPolyline",
             .kind = Kind::TextBox,
             .place = {3195, 1890, 3660, 2580}},
            {.name = "Label3",
             .kind = Kind::Label,
             .place = {3195, 1620, 3660, 285},
             .caption = "Информация о выбранных объектах"},
            // No button takes Enter or Esc: Enter in the table box or on an option must not
            // place points and write rows into the host.
            {.name = "cmdClose",
             .kind = Kind::CommandButton,
             .place = {5940, 4545, 870, 330},
             .caption = "Close",
             .tooltip = "Выйти из программы"},
            {.name = "cmdOK",
             .kind = Kind::CommandButton,
             .place = {3195, 4545, 870, 330},
             .caption = "OK",
             .tooltip = "Выполнить расстановку точек"},
            {.name = "cmdRefreshMI",
             .kind = Kind::CommandButton,
             .place = {6930, 225, 465, 420},
             .tooltip = "Обновить данные из MapInfo",
             .picture = true},
            {.name = "cmdAbout",
             .kind = Kind::CommandButton,
             .place = {8145, 4545, 870, 330},
             .caption = "About"},
        }};
    return form;
}

}  // namespace veltrano
