#include "dialog/qt/qt_form1_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

#include "dialog/qt/refresh_picture.h"

namespace veltrano {

namespace {
QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

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

// A control's place on the form, in twips: left, top, width, height.
struct Twips {
    int left, top, width, height;
};

void place(QWidget* control, const char* name, Twips at) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(QtForm1View::pixels(at.left), QtForm1View::pixels(at.top),
                         QtForm1View::pixels(at.width), QtForm1View::pixels(at.height));
}

QPlainTextEdit* textBox(QWidget* form) {
    auto* box = new QPlainTextEdit(form);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setTabChangesFocus(true);  // Tab moves on, as in every other box of the form
    return box;
}
}  // namespace

int QtForm1View::pixels(int twips) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return qRound(twips * dpi / 1440.0);
}

QtForm1View::QtForm1View(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("MapInfo utility: Put points along the Selected polyline"));
    // The places in twips were made for a narrow 8-point face; an Arial-metric one keeps
    // the captions inside them, the toolkit's own face stands in where it is missing.
    QFont formFont = font();
    formFont.setFamilies(
        {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), formFont.family()});
    formFont.setPointSize(8);
    setFont(formFont);
    setFixedSize(pixels(kClientWidthTwips), pixels(kClientHeightTwips));
    createControls();
    setTabOrder();
    qApp->installEventFilter(this);
}

void QtForm1View::createControls() {
    cmdAbout_ = new QPushButton(QStringLiteral("About"), this);
    place(cmdAbout_, "cmdAbout", {8145, 4545, 870, 330});

    cmdRefreshMI_ = new QPushButton(this);
    place(cmdRefreshMI_, "cmdRefreshMI", {6930, 225, 465, 420});
    cmdRefreshMI_->setIcon(QIcon(refreshPicture()));
    cmdRefreshMI_->setIconSize(QSize(16, 16));
    cmdRefreshMI_->setToolTip(QStringLiteral("Обновить данные из MapInfo"));

    cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
    place(cmdOK_, "cmdOK", {3195, 4545, 870, 330});
    cmdOK_->setToolTip(QStringLiteral("Выполнить расстановку точек"));

    cmdClose_ = new QPushButton(QStringLiteral("Close"), this);
    place(cmdClose_, "cmdClose", {5940, 4545, 870, 330});
    cmdClose_->setToolTip(QStringLiteral("Выйти из программы"));

    txtSelectedPolyline_ = textBox(this);
    place(txtSelectedPolyline_, "txtSelectedPolyline", {3195, 1890, 3660, 2580});

    chkStartFromTheEnd_ = new QCheckBox(QStringLiteral("Отсчет от конца линии"), this);
    place(chkStartFromTheEnd_, "chkStartFromTheEnd", {3195, 810, 3660, 315});
    chkStartFromTheEnd_->setToolTip(QStringLiteral("Вычислять координты о конца линии."));

    // Nothing reads this option, so it is shown but cannot be changed.
    chkBreakLine_ = new QCheckBox(QStringLiteral("Разбивать линию в точках"), this);
    place(chkBreakLine_, "chkBreakLine", {3195, 1215, 3660, 315});
    chkBreakLine_->setToolTip(
        QStringLiteral("В местах вставки точки добавлять вершину к полилинии."));
    chkBreakLine_->setEnabled(false);

    Combo1_ = new QComboBox(this);
    place(Combo1_, "Combo1", {3195, 450, 3660, 315});
    Combo1_->setEditable(true);
    Combo1_->setInsertPolicy(QComboBox::NoInsert);
    Combo1_->setToolTip(QStringLiteral("Таблица, в которую будут помещены точки."));

    txtPoints_ = textBox(this);
    place(txtPoints_, "txtPoints", {45, 450, 2985, 4020});
    txtPoints_->setToolTip(
        QStringLiteral("Линейные координаты точек в метрах. Разделяются \";\" или переносом."));

    place(new QLabel(QStringLiteral("Информация о выбранных объектах"), this), "Label3",
          {3195, 1620, 3660, 285});
    place(new QLabel(QStringLiteral("Таблица для создаваемых точек"), this), "Label2",
          {3195, 180, 3660, 285});
    place(new QLabel(QStringLiteral("Список точек (координаты в метрах)"), this), "Label1",
          {45, 180, 2985, 285});

    connect(cmdOK_, &QPushButton::clicked, this, &QtForm1View::okRequested);
    connect(cmdClose_, &QPushButton::clicked, this, &QtForm1View::closeRequested);
    connect(cmdAbout_, &QPushButton::clicked, this, &QtForm1View::aboutRequested);
    connect(cmdRefreshMI_, &QPushButton::clicked, this, &QtForm1View::refreshRequested);
}

// By tab index; the labels take no focus and are left out.
void QtForm1View::setTabOrder() {
    const QWidget* order[] = {txtPoints_,
                              Combo1_,
                              chkBreakLine_,
                              chkStartFromTheEnd_,
                              txtSelectedPolyline_,
                              cmdClose_,
                              cmdOK_,
                              cmdRefreshMI_,
                              cmdAbout_};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QWidget::setTabOrder(const_cast<QWidget*>(order[i - 1]), const_cast<QWidget*>(order[i]));
    }
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
