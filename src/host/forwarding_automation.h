// A decorator's base: every member of the automation object forwarded to another one, with a
// hook before and after each request, so that a decorator names only what it adds.
#pragma once

#include <string_view>
#include <utility>

#include "host/automation.h"

namespace veltrano {

class ForwardingAutomation : public Automation {
public:
    explicit ForwardingAutomation(AutomationPtr inner) : inner_(std::move(inner)) {}

#define VELTRANO_FORWARD_MEMBER(name, result, argument)                     \
    VELTRANO_RESULT_##result name VELTRANO_PARAMETERS_##argument override { \
        const Around around(*this, AutomationMember::name,                  \
                            argumentText VELTRANO_ARGUMENTS_##argument);    \
        return inner_->name VELTRANO_ARGUMENTS_##argument;                  \
    }
    VELTRANO_AUTOMATION_MEMBERS(VELTRANO_FORWARD_MEMBER)
#undef VELTRANO_FORWARD_MEMBER

protected:
    // Before each request, with its argument as text; after it, also when it raised.
    virtual void before(AutomationMember /*member*/, std::string_view /*argument*/) {}
    virtual void after(AutomationMember /*member*/) {}

private:
    struct Around {
        Around(ForwardingAutomation& self, AutomationMember member, std::string_view argument)
            : self_(self), member_(member) {
            self_.before(member, argument);
        }
        ~Around() { self_.after(member_); }
        Around(const Around&) = delete;
        Around& operator=(const Around&) = delete;
        ForwardingAutomation& self_;
        AutomationMember member_;
    };

    AutomationPtr inner_;
};

}  // namespace veltrano
