#include "automation/com/com_automation.h"

namespace veltrano::com {

ComAutomation::ComAutomation(ComPtr<IDispatch> application) : host_(std::move(application)) {}

Variant ComAutomation::callWithText(const wchar_t* member, std::string_view text) {
    Variant argument = Variant::text(text);
    return host_.call(member, std::span<Variant>(&argument, 1));
}

std::string ComAutomation::Eval(std::string_view expression) {
    return callWithText(L"Eval", expression).toText();
}

void ComAutomation::Do(std::string_view statement) {
    callWithText(L"Do", statement);
}

void ComAutomation::RunCommand(std::string_view statement) {
    callWithText(L"RunCommand", statement);
}

void ComAutomation::RunMenuCommand(std::int32_t menuCode) {
    Variant argument = Variant::int32(menuCode);
    host_.call(L"RunMenuCommand", std::span<Variant>(&argument, 1));
}

std::int32_t ComAutomation::LastErrorCode() {
    return host_.get(L"LastErrorCode").toInt32();
}

void ComAutomation::SetLastErrorCode(std::int32_t code) {
    host_.put(L"LastErrorCode", Variant::int32(code));
}

std::string ComAutomation::LastErrorMessage() {
    return host_.get(L"LastErrorMessage").toText();
}

bool ComAutomation::Visible() {
    return host_.get(L"Visible").toBool();
}

void ComAutomation::SetVisible(bool visible) {
    host_.put(L"Visible", Variant::boolean(visible));
}

std::string ComAutomation::Name() {
    return host_.get(L"Name").toText();
}

std::string ComAutomation::FullName() {
    return host_.get(L"FullName").toText();
}

std::string ComAutomation::ProductLevel() {
    return host_.get(L"ProductLevel").toText();
}

std::string ComAutomation::Version() {
    return host_.get(L"Version").toText();
}

std::string ComAutomation::Application() {
    return host_.get(L"Application").toText();
}

}  // namespace veltrano::com
