#include "about/about_texts.h"

#include "foundation/version.h"

namespace veltrano::about {

std::string versionText() {
    return "Version " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision);
}

const std::string& descriptionText() {
    // The user documentation of the placement rules, as the users have always read it:
    // kept byte for byte, misprints included.
    static const std::string text =
        std::string(
            "Программа выполняет расстановку точечных символов вдоль выбранных линейных "
            "объектов в ГИС MapInfo ") +
        "на расстояниях, указнных в поле 'Список точек'. Расстояния отсчитываются в метрах от "
        "начала (или конца) линии." +
        " Для полилиний, состоящих из нескольких сегментов, длинна сегментов складывается. "
        "Начало следующего сегмента предполагается в конце предыдущего." +
        " Порядок примыкания и связанность сегментов НЕ учитываются. " +
        "Возможна расстановка символов по границе полигонов, хотя это и не проверялось." + "\r\n" +
        "Точность позиционирования точек относительно линий сильно зависит от точности "
        "представления координат в исходной и результирующей таблицах MapInfo." +
        " Эта точность зависит о внутренней сетки целочисленных координат, опредляемой "
        "границами таблицы MapInfo. Чем меньше расстояние между границами, тем точнее "
        "представление координат. " +
        "Масимум неточностей производят СК \"долгота/широта\" с границами в градусах [0;-180] "
        "[360;+180]." +
        "  В то же время, расхождения больше, чем 0,5 метра не отмечены. " + "\r\n" +
        "В полях [distanceM], [xRowID] выходной таблицы сохраняются атрибуты создаваемых точек. "
        "Если поля отсуствуют, то атрибуты сохраняются в виде надписи (текстового объекта).";
    return text;
}

const std::string& titleText() {
    static const std::string text = "Veltrano. (c) 2026 The Veltrano developers.";
    return text;
}

const std::string& disclaimerText() {
    static const std::string text =
        "Warning: this program is provided as is, without warranty of any kind. "
        "Check the placed points against your data before you rely on them.";
    return text;
}

}  // namespace veltrano::about
