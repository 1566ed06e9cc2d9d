// The host's automation object, as Veltrano uses it: text in, text out (UTF-8).
//
// Failures: a statement or expression the host refuses raises RunTimeError
// err::kAutomationFailure and leaves LastErrorCode() non-zero with the reason in
// LastErrorMessage(). Once the host process has ended, every member raises err::kHostGone.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace veltrano {

class Automation {
public:
    virtual ~Automation() = default;

    // Evaluates a MapBasic expression; numbers come back with "." as the decimal point,
    // logical values as "T" or "F", strings unquoted.
    virtual std::string Eval(std::string_view expression) = 0;
    // Runs a MapBasic statement; its effects are complete on return.
    virtual void Do(std::string_view statement) = 0;
    virtual void RunCommand(std::string_view statement) = 0;
    virtual void RunMenuCommand(std::int32_t menuCode) = 0;

    virtual std::int32_t LastErrorCode() = 0;
    virtual void SetLastErrorCode(std::int32_t code) = 0;  // writing 0 clears it
    virtual std::string LastErrorMessage() = 0;

    virtual bool Visible() = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual std::string Name() = 0;
    virtual std::string FullName() = 0;
    virtual std::string ProductLevel() = 0;
    virtual std::string Version() = 0;
    // The text of the host's application value: its main window title.
    virtual std::string Application() = 0;
};

// A held reference to the host object; released when the last holder lets go.
using AutomationPtr = std::shared_ptr<Automation>;

// How a host object is obtained (the platform's "get object" and "create object").
class AutomationProvider {
public:
    virtual ~AutomationProvider() = default;
    // The copy that is already running; raises err::kNoRunningCopy when there is none.
    virtual AutomationPtr attachRunning() = 0;
    // Starts a new copy and returns its object; raises RunTimeError on failure.
    virtual AutomationPtr startNew() = 0;
};

}  // namespace veltrano
