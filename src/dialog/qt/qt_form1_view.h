// The main dialog as a Qt widget.
#pragma once

#include <QWidget>
#include <functional>

#include "dialog/form1_view.h"

class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class QPushButton;

namespace veltrano {

// The main dialog's window, built from its form's layout.
// It only forwards what the user asks for; the presenter decides everything.
class QtForm1View final : public QWidget, public Form1View {
    Q_OBJECT

public:
    explicit QtForm1View(QWidget* parent = nullptr);

    std::string pointsText() const override;
    void setPointsText(std::string_view text) override;
    std::string outputTableText() const override;
    void clearOutputTables() override;
    void addOutputTable(std::string_view name) override;
    void selectOutputTable(int index) override;
    int startFromTheEndValue() const override;
    std::string summaryText() const override;
    void setSummaryText(std::string_view text) override;
    void appendSummaryText(std::string_view text) override;
    void setOkEnabled(bool enabled) override;
    void closeWindow() override;

    // Runs a command to its end with the window deaf to the keyboard and mouse: what the
    // user does meanwhile is dropped, not replayed afterwards.
    void runWithoutInput(const std::function<void()>& command);

Q_SIGNALS:
    void okRequested();
    void closeRequested();
    void aboutRequested();
    void refreshRequested();
    void unloading();  // the window is closing, by cmdClose or the close box

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void wireControls();

    QPlainTextEdit* txtPoints_ = nullptr;
    QComboBox* Combo1_ = nullptr;
    QCheckBox* chkStartFromTheEnd_ = nullptr;
    QPlainTextEdit* txtSelectedPolyline_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    bool deaf_ = false;
};

}  // namespace veltrano
