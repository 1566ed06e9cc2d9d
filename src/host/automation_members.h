// Every member of the host's automation object, declared once: the interface, its adapters'
// declarations, the socket's member codes, names and dispatch, and the forwarding base of
// decorators are all expanded from this table.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// X(name, result, argument): result and argument are each Text (UTF-8), Whole (32 bits),
// Logical or None. Eval's numbers come back with "." as the decimal point, logical values as
// "T" or "F", strings unquoted; Do's effects are complete on return; SetLastErrorCode(0)
// clears the error; Application is the text of the host's application value, its main
// window's title. The order is the protocol's member codes: append, never reorder.
#define VELTRANO_AUTOMATION_MEMBERS(X) \
    X(Eval, Text, Text)                \
    X(Do, None, Text)                  \
    X(RunCommand, None, Text)          \
    X(RunMenuCommand, None, Whole)     \
    X(LastErrorCode, Whole, None)      \
    X(SetLastErrorCode, None, Whole)   \
    X(LastErrorMessage, Text, None)    \
    X(Visible, Logical, None)          \
    X(SetVisible, None, Logical)       \
    X(Name, Text, None)                \
    X(FullName, Text, None)            \
    X(ProductLevel, Text, None)        \
    X(Version, Text, None)             \
    X(Application, Text, None)

// The C++ forms of the kinds: a member's result type, its parameter list, its argument list.
#define VELTRANO_RESULT_Text std::string
#define VELTRANO_RESULT_Whole std::int32_t
#define VELTRANO_RESULT_Logical bool
#define VELTRANO_RESULT_None void
#define VELTRANO_PARAMETERS_Text (std::string_view argument)
#define VELTRANO_PARAMETERS_Whole (std::int32_t argument)
#define VELTRANO_PARAMETERS_Logical (bool argument)
#define VELTRANO_PARAMETERS_None ()
#define VELTRANO_ARGUMENTS_Text (argument)
#define VELTRANO_ARGUMENTS_Whole (argument)
#define VELTRANO_ARGUMENTS_Logical (argument)
#define VELTRANO_ARGUMENTS_None ()

// One member's declaration in a class that implements the interface.
#define VELTRANO_AUTOMATION_OVERRIDE(name, result, argument) \
    VELTRANO_RESULT_##result name VELTRANO_PARAMETERS_##argument override;

namespace veltrano {

enum class AutomationMember : std::uint8_t {
#define VELTRANO_MEMBER_CODE(name, result, argument) name,
    VELTRANO_AUTOMATION_MEMBERS(VELTRANO_MEMBER_CODE)
#undef VELTRANO_MEMBER_CODE
};

inline constexpr std::array kAutomationMemberNames = {
#define VELTRANO_MEMBER_NAME(name, result, argument) std::string_view(#name),
    VELTRANO_AUTOMATION_MEMBERS(VELTRANO_MEMBER_NAME)
#undef VELTRANO_MEMBER_NAME
};

inline std::string_view memberName(AutomationMember member) {
    return kAutomationMemberNames[static_cast<std::size_t>(member)];
}

// An argument as text, as the socket carries it and the traces show it: numbers in decimal,
// logical values as "T" or "F".
inline std::string argumentText() {
    return {};
}
inline std::string argumentText(std::string_view text) {
    return std::string(text);
}
inline std::string argumentText(std::int32_t whole) {
    return std::to_string(whole);
}
inline std::string argumentText(bool logical) {
    return logical ? "T" : "F";
}

}  // namespace veltrano
