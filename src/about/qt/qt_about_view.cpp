#include "about/qt/qt_about_view.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "about/about_texts.h"
#include "about/qt/app_icon.h"

namespace veltrano {

namespace {
QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Labels show plain text with the system's own line breaks.
QString labelText(std::string_view text) {
    return fromUtf8(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QLabel* namedLabel(const char* name, const QString& text, QWidget* owner) {
    auto* label = new QLabel(text, owner);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

QFrame* ornamentLine(QWidget* owner) {
    auto* line = new QFrame(owner);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

constexpr int kDescriptionWidth = 560;
}  // namespace

QtAboutView::QtAboutView(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Veltrano"));
    setModal(true);

    auto* picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(appPixmap(48));
    picIcon->setAlignment(Qt::AlignTop);

    lblTitle_ = namedLabel("lblTitle", fromUtf8(about::titleText()), this);
    QFont titleFont = lblTitle_->font();
    titleFont.setBold(true);
    lblTitle_->setFont(titleFont);
    lblVersion_ = namedLabel("lblVersion", QStringLiteral("Version"), this);
    lblDescription_ = namedLabel("lblDescription", QStringLiteral("App Description"), this);
    lblDescription_->setMinimumWidth(kDescriptionWidth);
    lblDisclaimer_ = namedLabel("lblDisclaimer", QStringLiteral("Warning: ..."), this);

    auto* cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto* cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));

    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle_);
    texts->addWidget(lblVersion_);
    texts->addWidget(lblDescription_);
    auto* head = new QHBoxLayout;
    head->addWidget(picIcon, 0, Qt::AlignTop);
    head->addLayout(texts, 1);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch();
    auto* foot = new QHBoxLayout;
    foot->addWidget(lblDisclaimer_, 1);
    foot->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(ornamentLine(this));
    layout->addWidget(ornamentLine(this));
    layout->addLayout(foot);

    connect(cmdOK, &QPushButton::clicked, this, &QtAboutView::okRequested);
    connect(cmdSysInfo, &QPushButton::clicked, this, &QtAboutView::sysInfoRequested);
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
