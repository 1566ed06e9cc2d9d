#include "about/frm_about.h"

#include <string>

#include "about/about_texts.h"
#include "about/get_key_value.h"
#include "foundation/run_time_error.h"

namespace veltrano {

namespace {
constexpr std::string_view kToolKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr std::string_view kToolValue = "PATH";
constexpr std::string_view kLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr std::string_view kLocationValue = "MSINFO";
constexpr std::string_view kToolFile = "\\MSINFO32.EXE";
}  // namespace

frmAbout::frmAbout(AboutView& view, Ports ports) : view_(view), ports_(ports) {}

void frmAbout::load() {
    view_.setCaption("About " + std::string(kApplicationTitle));
    view_.setVersionText(about::versionText());
    view_.setDescriptionText(about::descriptionText());
    view_.setDisclaimerText(about::disclaimerText());
}

void frmAbout::cmdOKClick() {
    view_.closeWindow();
}

void frmAbout::cmdSysInfoClick() {
    StartSysInfo();
}

// The tool's full path, or empty when neither registry entry leads to it.
std::string frmAbout::locateSysInfo() {
    std::string path;
    if (GetKeyValue(ports_.registry, RegistryRoot::LocalMachine, kToolKey, kToolValue, path)) {
        return path;
    }
    std::string folder;
    if (!GetKeyValue(ports_.registry, RegistryRoot::LocalMachine, kLocationKey, kLocationValue,
                     folder)) {
        return {};
    }
    path = folder + std::string(kToolFile);
    return ports_.processes.fileExists(path) ? path : std::string();
}

void frmAbout::StartSysInfo() {
    try {
        const std::string tool = locateSysInfo();
        if (!tool.empty()) {
            ports_.processes.start(tool);
            return;
        }
    } catch (const RunTimeError& error) {
        LastError::set(error);
    }
    ports_.messages.show(kUnavailableMessage, {}, MessageIcon::None);
}

}  // namespace veltrano
