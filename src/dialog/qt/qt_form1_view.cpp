#include "dialog/qt/qt_form1_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include "dialog/form1_layout.h"
#include "dialog/qt/refresh_picture.h"
#include "platform/qt/qt_form_controls.h"
#include "platform/qt/qt_text.h"

namespace veltrano {

namespace {
// The presenter speaks CR LF; the text widgets hold single line feeds.
QString shownText(std::string_view text) {
    return fromUtf8(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::string systemText(const QString& shown) {
    const QByteArray bytes =
        QString(shown).replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool isUserInput(const QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
            return true;
        default:
            return false;
    }
}

template <typename W>
W* named(const QWidget* form, const char* name) {
    return form->findChild<W*>(QString::fromLatin1(name));
}
}  // namespace

QtForm1View::QtForm1View(QWidget* parent) : QWidget(parent) {
    const layout::Form& form = form1Layout();
    setObjectName(fromUtf8(form.name));
    setWindowTitle(fromUtf8(form.caption));
    // The places in twips were made for a narrow 8-point face; an Arial-metric one keeps
    // the captions inside them, the toolkit's own face stands in where it is missing.
    QFont formFont = font();
    formFont.setFamilies(
        {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), formFont.family()});
    formFont.setPointSize(8);
    setFont(formFont);
    setFixedSize(twipsToPixels(form.clientWidth), twipsToPixels(form.clientHeight));
    createControls(form, this);
    wireControls();
    qApp->installEventFilter(this);
}

void QtForm1View::wireControls() {
    txtPoints_ = named<QPlainTextEdit>(this, "txtPoints");
    Combo1_ = named<QComboBox>(this, "Combo1");
    chkStartFromTheEnd_ = named<QCheckBox>(this, "chkStartFromTheEnd");
    txtSelectedPolyline_ = named<QPlainTextEdit>(this, "txtSelectedPolyline");
    cmdOK_ = named<QPushButton>(this, "cmdOK");
    auto* cmdRefreshMI = named<QPushButton>(this, "cmdRefreshMI");
    cmdRefreshMI->setIcon(QIcon(refreshPicture()));
    cmdRefreshMI->setIconSize(QSize(16, 16));
    connect(cmdOK_, &QPushButton::clicked, this, &QtForm1View::okRequested);
    connect(named<QPushButton>(this, "cmdClose"), &QPushButton::clicked, this,
            &QtForm1View::closeRequested);
    connect(named<QPushButton>(this, "cmdAbout"), &QPushButton::clicked, this,
            &QtForm1View::aboutRequested);
    connect(cmdRefreshMI, &QPushButton::clicked, this, &QtForm1View::refreshRequested);
    txtPoints_->setFocus();
}

std::string QtForm1View::pointsText() const {
    return systemText(txtPoints_->toPlainText());
}

void QtForm1View::setPointsText(std::string_view text) {
    txtPoints_->setPlainText(shownText(text));
}

std::string QtForm1View::outputTableText() const {
    const QByteArray bytes = Combo1_->currentText().toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void QtForm1View::clearOutputTables() {
    Combo1_->clear();
    Combo1_->clearEditText();
}

void QtForm1View::addOutputTable(std::string_view name) {
    // A combo box selects the first item added to it; this one is chosen only when asked.
    const QString typed = Combo1_->currentText();
    const bool nothingChosen = Combo1_->currentIndex() < 0;
    Combo1_->addItem(fromUtf8(name));
    if (nothingChosen) {
        Combo1_->setCurrentIndex(-1);
        Combo1_->setEditText(typed);
    }
}

void QtForm1View::selectOutputTable(int index) {
    Combo1_->setCurrentIndex(index);
}

int QtForm1View::startFromTheEndValue() const {
    switch (chkStartFromTheEnd_->checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        case Qt::Unchecked:
            break;
    }
    return 0;
}

std::string QtForm1View::summaryText() const {
    return systemText(txtSelectedPolyline_->toPlainText());
}

void QtForm1View::setSummaryText(std::string_view text) {
    txtSelectedPolyline_->setPlainText(shownText(text));
}

void QtForm1View::appendSummaryText(std::string_view text) {
    QTextCursor end = txtSelectedPolyline_->textCursor();
    end.movePosition(QTextCursor::End);
    end.insertText(shownText(text));
    txtSelectedPolyline_->setTextCursor(end);
    txtSelectedPolyline_->ensureCursorVisible();
    // Painted now: the command that appends keeps the event loop waiting until it ends.
    txtSelectedPolyline_->viewport()->repaint();
}

void QtForm1View::setOkEnabled(bool enabled) {
    cmdOK_->setEnabled(enabled);
}

void QtForm1View::closeWindow() {
    close();
}

void QtForm1View::runWithoutInput(const std::function<void()>& command) {
    deaf_ = true;
    command();
    // What was typed or clicked meanwhile is still queued: let the filter drop it.
    QCoreApplication::processEvents();
    deaf_ = false;
}

void QtForm1View::closeEvent(QCloseEvent* event) {
    Q_EMIT unloading();
    QWidget::closeEvent(event);
}

bool QtForm1View::eventFilter(QObject* watched, QEvent* event) {
    if (deaf_ && isUserInput(event)) {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace veltrano
