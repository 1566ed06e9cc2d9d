// The About box's presenter: its texts, version and the system-information launcher.
#pragma once

#include "about/about_view.h"
#include "platform/message_box.h"
#include "platform/process_start.h"
#include "platform/registry.h"

namespace veltrano {

// The About box: title, version, the method's description and the system-information
// launcher. Touches neither the host nor the main dialog.
class frmAbout {
public:
    struct Ports {
        MessageBoxPort& messages;
        RegistryPort& registry;
        ProcessStartPort& processes;
    };

    frmAbout(AboutView& view, Ports ports);

    void load();
    void cmdOKClick();
    void cmdSysInfoClick();

    // Starts the system-information tool, or tells the user that there is none.
    void StartSysInfo();

    static constexpr std::string_view kUnavailableMessage =
        "System Information Is Unavailable At This Time";

private:
    std::string locateSysInfo();

    AboutView& view_;
    Ports ports_;
};

}  // namespace veltrano
