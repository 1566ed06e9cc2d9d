#include "host/miProObj.h"

#include <string>

#include "foundation/host_codes.h"
#include "foundation/run_time_error.h"

namespace veltrano {

namespace {

constexpr std::string_view kProbe = "2*2";
constexpr std::string_view kLinkLostText =
    "Произошло не запланированное отключение связи с MapInfo.";
constexpr std::string_view kLinkLostCaption = "Сбой активизации связи с MapInfo.";

std::string systemInfoExpression(std::int32_t code) {
    return "SystemInfo(" + std::to_string(code) + ")";
}

}  // namespace

miProObj::miProObj(AutomationProvider& provider, MessageBoxPort& messages,
                   const RegionalSettings& regional, WindowActivationPort& activation)
    : provider_(provider),
      messages_(messages),
      regional_(regional),
      activation_(activation),
      reader_(regional) {}

miProObj::~miProObj() {
    try {
        if (isLoaded()) Deattach();
    } catch (...) {
        // Nothing may escape a destructor; the host keeps running either way.
    }
    miApp_.reset();
}

miProObj::State miProObj::state() const {
    if (!miApp_) return State::Idle;
    return connected_ ? State::Connected : State::Held;
}

// --- State ---------------------------------------------------------------------------

Automation& miProObj::app() const {
    if (!miApp_) throw RunTimeError(err::kObjectNotSet, {}, "miProObj");
    return *miApp_;
}

void miProObj::resetState(bool releaseHost) {
    connected_ = false;
    if (releaseHost) miApp_.reset();
    countWin_ = minWin_ = maxWin_ = curWinID_ = hwnd_ = 0;
    arrWin_.reset();
    arrTbl_.reset();
}

void miProObj::setConnected(bool value) {
    connected_ = value && miApp_ != nullptr;
    if (connected_) {
        RefreshWindowsInfo();
    } else {
        resetState(false);
    }
}

bool miProObj::probe() {
    try {
        app().Eval(kProbe);
        return true;
    } catch (const RunTimeError& error) {
        LastError::set(error);  // suppressed: a dead host simply gives no answer
        return false;
    }
}

bool miProObj::isLoaded() {
    if (!miApp_ || !connected_) return false;
    if (probe()) return true;
    connected_ = false;
    countWin_ = minWin_ = maxWin_ = curWinID_ = hwnd_ = 0;
    arrWin_.reset();
    arrTbl_.reset();
    countTbl_ = 0;
    return false;
}

bool miProObj::qIsLoaded() {
    if (!miApp_ || !connected_) return false;
    connected_ = probe();
    LastError::clear();
    return connected_;
}

// --- Connecting ----------------------------------------------------------------------

void miProObj::readIdentity(std::int32_t& version) {
    version = reader_.toWhole(
        HostValue::text(app().Eval(systemInfoExpression(host_code::system_info::kVersion))));
    hwnd_ = reader_.toWhole(
        HostValue::text(app().Eval(systemInfoExpression(host_code::system_info::kMainWindow))));
}

std::int32_t miProObj::connect2MiPro(const std::optional<HostValue>& parentHWnd) {
    std::int32_t result = 0;
    try {
        if (qIsLoaded()) {
            resetState(false);
        } else {
            resetState(true);
            miApp_ = provider_.attachRunning();
        }
        if (miApp_) {
            readIdentity(result);
            setConnected(true);
            // Set once the link is live, so that the statement actually reaches the host.
            if (parentHWnd) Set_Application_Window(reader_.toWhole(*parentHWnd));
        }
    } catch (const RunTimeError& error) {
        if (error.number() != err::kNoRunningCopy) showDescription(error);
        LastError::clear();
    }
    return result;
}

std::int32_t miProObj::openMiPro(std::int32_t parentHWnd) {
    std::int32_t result = 0;
    try {
        resetState(false);
        miApp_ = provider_.startNew();
        if (miApp_) {
            readIdentity(result);
            setConnected(true);
            if (parentHWnd != 0) Set_Application_Window(parentHWnd);
            app().SetVisible(true);
            showButtonPads();
        }
    } catch (const RunTimeError& error) {
        showDescription(error);
        LastError::clear();
    }
    return result;
}

// --- Wrapped calls -------------------------------------------------------------------

HostValue miProObj::Eval(std::string_view str) {
    lastCallFailed_ = true;
    if (!qIsLoaded()) return {};
    std::string text;
    try {
        text = app().Eval(str);
        settleHostError();
    } catch (const RunTimeError& error) {
        reportThroughHost(error);
        return {};
    }
    return reader_.evalAnswer(text);
}

HostValue miProObj::SystemInfo(std::int32_t L) {
    lastCallFailed_ = true;
    return queryInfo(systemInfoExpression(L), HostValue::null());
}

// The probe, one expression, the error check and the conversion of SystemInfo; a failure
// is reported and gives null.
HostValue miProObj::queryInfo(std::string_view expression, HostValue whenNotLive) {
    if (!qIsLoaded()) return whenNotLive;
    return askInfo(expression);
}

HostValue miProObj::askInfo(std::string_view expression) {
    try {
        const std::string text = app().Eval(expression);
        settleHostError();
        return reader_.infoAnswer(text);
    } catch (const RunTimeError& error) {
        // The host's refusal, or a whole number beyond 32 bits in its answer.
        reportThroughHost(error);
        return HostValue::null();
    }
}

void miProObj::xDo(std::string_view str) {
    RunCommand(str);
}

void miProObj::RunCommand(std::string_view str) {
    lastCallFailed_ = true;
    lastFailureMessage_.clear();
    try {
        if (isLoaded() && miApp_) {
            app().Do(str);
            settleHostError();
        }
    } catch (const RunTimeError& error) {
        reportThroughHost(error);
    }
}

HostValue miProObj::RunMenuCommand(std::string_view cmd) {
    lastCallFailed_ = true;
    try {
        if (isLoaded() && miApp_ && reader_.isNumeric(cmd)) {
            app().RunMenuCommand(reader_.toWhole(HostValue::text(std::string(cmd))));
            settleHostError();
        }
    } catch (const RunTimeError& error) {
        showDescription(error);
        LastError::clear();
    }
    return {};
}

bool miProObj::IsError() {
    if (!miApp_) return true;
    return app().LastErrorCode() != 0;
}

void miProObj::ClearError() {
    if (miApp_ && app().LastErrorCode() != 0) app().SetLastErrorCode(0);
}

void miProObj::settleHostError() {
    if (IsError()) {
        msgboxErr();
    } else {
        lastCallFailed_ = false;
    }
}

void miProObj::msgboxErr() {
    try {
        if (!qIsLoaded()) return;
        const std::int32_t code = app().LastErrorCode();
        if (code == 0) return;
        const std::string message = app().LastErrorMessage();
        lastCallFailed_ = true;
        lastFailureMessage_ = message;
        messages_.show(message, "MI Error: " + std::to_string(code), MessageIcon::CriticalStop);
        LastError::clear();
        app().SetLastErrorCode(0);
    } catch (const RunTimeError& error) {
        lastCallFailed_ = true;
        if (error.number() == err::kHostGone) {
            resetState(true);
            lastFailureMessage_ = std::string(kLinkLostText);
            messages_.show(kLinkLostText, kLinkLostCaption, MessageIcon::CriticalStop);
        } else {
            messages_.show(std::to_string(error.number()) + ": " + error.description(), {},
                           MessageIcon::None);
        }
        LastError::clear();
    }
}

// --- Session chores ------------------------------------------------------------------

bool miProObj::Close_All(bool saveInteractive) {
    try {
        bool live = false;
        if (miApp_ && !connected_) {
            // Probe a held host without connecting it.
            connected_ = true;
            live = qIsLoaded();
            connected_ = false;
        } else {
            live = qIsLoaded();
        }
        if (!live) return false;
        app().Do(saveInteractive ? "Close All  Interactive " : "Close All ");
        RefreshWindowsInfo();
        return true;
    } catch (const RunTimeError& error) {
        reportThroughHost(error);
        return false;
    }
}

void miProObj::ClosePro(bool doFullExit) {
    try {
        if (Close_All(true) && doFullExit) app().Do("End MapInfo Interactive ");
    } catch (const RunTimeError& error) {
        showDescription(error);
        LastError::clear();
    }
    resetState(true);
}

void miProObj::Set_Application_Window(std::int32_t hwnd) {
    lastCallFailed_ = true;
    try {
        if (qIsLoaded()) {
            app().Do("Set Application Window " + std::to_string(hwnd));
            settleHostError();
        }
    } catch (const RunTimeError& error) {
        showDescription(error);
        LastError::clear();
    }
}

void miProObj::Attach(std::int32_t hwnd) {
    lastCallFailed_ = true;
    try {
        if (isLoaded() && miApp_ && hwnd > 0 && isLoaded()) {
            app().RunCommand("Set Application Window " + std::to_string(hwnd) + " ");
            settleHostError();
        }
    } catch (const RunTimeError& error) {
        showDescription(error);
        LastError::clear();
    }
}

void miProObj::Deattach() {
    lastCallFailed_ = true;
    try {
        if (isLoaded() && miApp_ && isLoaded()) {
            app().RunCommand("Set Application Window 0");
            settleHostError();
        }
    } catch (const RunTimeError& error) {
        showDescription(error);
        LastError::clear();
    }
}

void miProObj::Visible(bool vl) {
    if (!miApp_) throw RunTimeError(err::kObjectNotSet, {}, "miProObj.Visible");
    app().SetVisible(vl);
}

std::string miProObj::miName() {
    return miApp_ && isLoaded() ? app().Name() : std::string();
}
std::string miProObj::miFullName() {
    return miApp_ && isLoaded() ? app().FullName() : std::string();
}
std::string miProObj::miProductLevel() {
    return miApp_ && isLoaded() ? app().ProductLevel() : std::string();
}
std::string miProObj::miVersion() {
    return miApp_ && isLoaded() ? app().Version() : std::string();
}

void miProObj::subTemplate() {
    isLoaded();
}

HostValue miProObj::functionTemplate() {
    isLoaded();
    return {};
}

// --- Messages ------------------------------------------------------------------------

// The handler of the wrapped calls: the failure is pending while msgboxErr shows what the
// host said, and settled once the operation gives up.
void miProObj::reportThroughHost(const RunTimeError& error) {
    lastFailureMessage_ = error.description();
    LastError::set(error);
    msgboxErr();
    LastError::clear();
}

void miProObj::showDescription(const RunTimeError& error) {
    messages_.show(error.description(), {}, MessageIcon::None);
}

void miProObj::showWithSource(const RunTimeError& error) {
    messages_.show(
        std::to_string(error.number()) + ": " + error.description() + "\n in \n" + error.source(),
        {}, MessageIcon::None);
}

}  // namespace veltrano
