// The About box as a Qt dialog.
#pragma once

#include <QDialog>
#include <vector>

#include "about/about_view.h"

class QLabel;
class QPushButton;

namespace veltrano {

// The modal About window, built from its form's layout; each widget is named after its control.
class QtAboutView final : public QDialog, public AboutView {
    Q_OBJECT

public:
    explicit QtAboutView(QWidget* owner = nullptr);

    void setCaption(std::string_view text) override;
    void setVersionText(std::string_view text) override;
    void setDescriptionText(std::string_view text) override;
    void setDisclaimerText(std::string_view text) override;
    void closeWindow() override;

Q_SIGNALS:
    void okRequested();
    void sysInfoRequested();

private:
    void arrange(const std::vector<QWidget*>& controls);

    QLabel* lblTitle_;
    QLabel* lblVersion_;
    QLabel* lblDescription_;
    QLabel* lblDisclaimer_;
};

}  // namespace veltrano
