#include "platform/qt/qt_form_controls.h"
#include "platform/qt/qt_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

namespace veltrano {

namespace {
using layout::Kind;

QLabel* label(const QString& text, QWidget* form) {
    auto* label = new QLabel(text, form);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);  // a label wraps its text at its width, as it does on Windows
    return label;
}

QPlainTextEdit* textBox(QWidget* form) {
    auto* box = new QPlainTextEdit(form);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setTabChangesFocus(true);  // Tab moves on, as in every other box of the form
    return box;
}

QComboBox* comboBox(QWidget* form) {
    auto* combo = new QComboBox(form);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

QPushButton* button(const QString& text, bool isDefault, QWidget* form) {
    auto* button = new QPushButton(text, form);
    // Outside a dialog Enter presses nothing, and Qt would only draw the button as default.
    if (qobject_cast<QDialog*>(form)) button->setDefault(isDefault);
    return button;
}

QFrame* line(QWidget* form) {
    auto* line = new QFrame(form);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QWidget* create(const layout::Control& control, QWidget* form) {
    const QString caption = fromUtf8(control.caption);
    switch (control.kind) {
        case Kind::Label:
            return label(caption, form);
        case Kind::TextBox:
            return textBox(form);
        case Kind::ComboBox:
            return comboBox(form);
        case Kind::CheckBox:
            return new QCheckBox(caption, form);
        case Kind::CommandButton:
            return button(caption, control.isDefault, form);
        case Kind::PictureBox:
            return new QLabel(form);
        case Kind::Line:
            return line(form);
    }
    return new QWidget(form);
}
}  // namespace

int twipsToPixels(int twips) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return qRound(twips * dpi / 1440.0);
}

QRect pixelRect(const layout::Twips& place) {
    return {twipsToPixels(place.left), twipsToPixels(place.top), twipsToPixels(place.width),
            twipsToPixels(place.height)};
}

std::vector<QWidget*> createControls(const layout::Form& form, QWidget* window) {
    std::vector<QWidget*> widgets;
    QWidget* previous = nullptr;
    for (const layout::Control& control : form.controls) {
        if (!control.builtBy(layout::kQt)) continue;
        QWidget* widget = create(control, window);
        widget->setObjectName(fromUtf8(control.name));
        if (form.fixedPlaces) widget->setGeometry(pixelRect(control.place));
        if (!control.tooltip.empty()) widget->setToolTip(fromUtf8(control.tooltip));
        widget->setEnabled(control.enabled);
        if (!control.visible) widget->hide();
        if (layout::takesFocus(control.kind)) {
            if (previous) QWidget::setTabOrder(previous, widget);
            previous = widget;
        }
        widgets.push_back(widget);
    }
    return widgets;
}

}  // namespace veltrano
