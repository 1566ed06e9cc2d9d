#include "about/qt/qt_about_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "about/about_layout.h"
#include "about/qt/app_icon.h"
#include "platform/qt/qt_form_controls.h"

namespace veltrano {

namespace {
QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Labels show plain text with the system's own line breaks.
QString labelText(std::string_view text) {
    return fromUtf8(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

template <typename W = QWidget>
W* named(const QWidget* form, const char* name) {
    return form->findChild<W*>(QString::fromLatin1(name));
}

constexpr int kDescriptionWidth = 560;
}  // namespace

QtAboutView::QtAboutView(QWidget* owner) : QDialog(owner) {
    const layout::Form& form = about::aboutLayout();
    setObjectName(fromUtf8(form.name));
    setWindowTitle(fromUtf8(form.caption));
    setModal(true);
    const std::vector<QWidget*> controls = createControls(form, this);
    lblTitle_ = named<QLabel>(this, "lblTitle");
    lblVersion_ = named<QLabel>(this, "lblVersion");
    lblDescription_ = named<QLabel>(this, "lblDescription");
    lblDisclaimer_ = named<QLabel>(this, "lblDisclaimer");
    named<QLabel>(this, "picIcon")->setPixmap(appPixmap(48));
    named<QLabel>(this, "picIcon")->setAlignment(Qt::AlignTop);
    QFont titleFont = lblTitle_->font();
    titleFont.setBold(true);
    lblTitle_->setFont(titleFont);
    lblDescription_->setMinimumWidth(kDescriptionWidth);
    arrange(controls);
    connect(named<QPushButton>(this, "cmdOK"), &QPushButton::clicked, this,
            &QtAboutView::okRequested);
    connect(named<QPushButton>(this, "cmdSysInfo"), &QPushButton::clicked, this,
            &QtAboutView::sysInfoRequested);
}

// The texts beside the icon above the ornaments, the disclaimer beside the buttons below.
void QtAboutView::arrange(const std::vector<QWidget*>& controls) {
    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle_);
    texts->addWidget(lblVersion_);
    texts->addWidget(lblDescription_);
    auto* head = new QHBoxLayout;
    head->addWidget(named(this, "picIcon"), 0, Qt::AlignTop);
    head->addLayout(texts, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(named(this, "cmdOK"));
    buttons->addWidget(named(this, "cmdSysInfo"));
    buttons->addStretch();
    auto* foot = new QHBoxLayout;
    foot->addWidget(lblDisclaimer_, 1);
    foot->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    for (QWidget* control : controls) {
        if (control->objectName() == QStringLiteral("Line1")) layout->addWidget(control);
    }
    layout->addLayout(foot);
}

void QtAboutView::setCaption(std::string_view text) {
    setWindowTitle(fromUtf8(text));
}

void QtAboutView::setVersionText(std::string_view text) {
    lblVersion_->setText(fromUtf8(text));
}

void QtAboutView::setDescriptionText(std::string_view text) {
    lblDescription_->setText(labelText(text));
}

void QtAboutView::setDisclaimerText(std::string_view text) {
    lblDisclaimer_->setText(labelText(text));
}

void QtAboutView::closeWindow() {
    accept();
}

}  // namespace veltrano
