// Veltrano: places points at given distances along the lines selected in the running host.
// It starts as its dialog, attaches to the host that is already running and leaves it
// running when it closes. It takes no command line and keeps no state.
#include <QApplication>

#include "about/frm_about.h"
#include "about/qt/app_icon.h"
#include "about/qt/qt_about_view.h"
#include "automation/socket/socket_automation_provider.h"
#include "dialog/engine_placement.h"
#include "dialog/form1.h"
#include "dialog/qt/qt_form1_view.h"
#include "platform/qt/empty_registry.h"
#include "platform/qt/qlocale_regional_settings.h"
#include "platform/qt/qt_beep.h"
#include "platform/qt/qt_busy_pointer.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_process_start.h"
#include "platform/qt/qt_window_activation.h"

namespace {

using namespace veltrano;

// The About box, modal over the dialog that owns it.
void showAbout(QWidget* owner, MessageBoxPort& messages) {
    EmptyRegistry registry;
    QtProcessStart processes;
    QtAboutView window(owner);
    frmAbout about(window, {messages, registry, processes});
    QObject::connect(&window, &QtAboutView::okRequested, [&] { about.cmdOKClick(); });
    QObject::connect(&window, &QtAboutView::sysInfoRequested, [&] { about.cmdSysInfoClick(); });
    about.load();
    window.exec();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Veltrano"));
    QApplication::setWindowIcon(appIcon());

    QtMessageBox messages;
    QtBeep beep;
    QtBusyPointer busy;
    const QLocaleRegionalSettings regional;
    QtWindowActivation activation;
    ipc::SocketAutomationProvider hosts;

    QtForm1View view;
    Form1 form(view, {hosts, messages, beep, busy, regional, activation},
               enginePlacement({messages}), [&] { showAbout(&view, messages); });
    QObject::connect(&view, &QtForm1View::okRequested,
                     [&] { view.runWithoutInput([&] { form.cmdOKClick(); }); });
    QObject::connect(&view, &QtForm1View::refreshRequested, [&] { form.cmdRefreshMIClick(); });
    QObject::connect(&view, &QtForm1View::aboutRequested, [&] { form.cmdAboutClick(); });
    QObject::connect(&view, &QtForm1View::closeRequested, [&] { form.cmdCloseClick(); });
    QObject::connect(&view, &QtForm1View::unloading, [&] { form.unload(); });

    form.load();
    view.show();
    return QApplication::exec();
}
