// Veltrano for Windows: the dialog beside the running MapInfo Professional, reached through
// COM. One program, nothing to install or register: it attaches to the host that is already
// running and leaves it running when it closes. No command line, no stored state.
#include <windows.h>

#include "about/frm_about.h"
#include "automation/com/com_apartment.h"
#include "automation/com/com_provider.h"
#include "dialog/engine_placement.h"
#include "dialog/form1.h"
#include "platform/win32/win32_beep.h"
#include "platform/win32/win32_busy_pointer.h"
#include "platform/win32/win32_message_box.h"
#include "platform/win32/win32_process_start.h"
#include "platform/win32/win32_regional_settings.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_window_activation.h"
#include "win32_about_view.h"
#include "win32_form1_view.h"

namespace {

using namespace veltrano;

void showAbout(HWND owner, MessageBoxPort& messages) {
    win32::Win32Registry registry;
    win32::Win32ProcessStart processes;
    win32::Win32AboutView window(owner);
    frmAbout about(window, {messages, registry, processes});
    window.okRequested = [&] { about.cmdOKClick(); };
    window.sysInfoRequested = [&] { about.cmdSysInfoClick(); };
    about.load();
    window.runModal();
}

int runVeltrano() {
    com::ComApartment apartment;
    com::ComAutomationProvider hosts;
    win32::Win32MessageBox messages;
    win32::Win32Beep beep;
    win32::Win32BusyPointer busy;
    const auto regional = win32::Win32RegionalSettings::user();
    win32::Win32WindowActivation activation;

    win32::Win32Form1View view;
    messages.setOwner(view.window());
    Form1 form(view, {hosts, messages, beep, busy, regional, activation},
               enginePlacement({messages}), [&] { showAbout(view.window(), messages); });
    view.okRequested = [&] {
        EnableWindow(view.window(), FALSE);  // no input while the command runs
        form.cmdOKClick();
        EnableWindow(view.window(), TRUE);
    };
    view.refreshRequested = [&] { form.cmdRefreshMIClick(); };
    view.aboutRequested = [&] { form.cmdAboutClick(); };
    view.closeRequested = [&] { form.cmdCloseClick(); };
    view.unloading = [&] { form.unload(); };

    form.load();
    view.show();
    return view.run();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    try {
        return runVeltrano();
    } catch (const std::exception& e) {
        MessageBoxA(nullptr, e.what(), "Veltrano", MB_OK | MB_ICONSTOP);
        return 1;
    }
}
